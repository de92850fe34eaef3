-- The option groups a personalised product is sold with, and how each chosen
-- option is valued: 01 included, 02 removal of a fixed value, 03 removal at
-- the option's price, 04 extra of a fixed value, 05 extra at the option's
-- price, 06 a fraction (PROP_VALOR percent) of the option at its price.
create table PRODUTO_PERSONALIZACAO (
    CODPRODUTOPERSONALIZACAO integer not null primary key,
    CODPRODUTO               integer not null references PRODUTO,
    CODGRUPOPERSONALIZACAO   integer not null references GRUPO_PERSONALIZACAO,
    PROP_QTDE_MINIMA         numeric(18,4) default 0 not null,
    PROP_QTDE_MAXIMA         numeric(18,4) default 0 not null,
    PROP_TIPO                char(2) default '01' not null,
    PROP_VALOR               numeric(18,4) default 0 not null
);
create generator GEN_PRODUTO_PERSONALIZACAO;
create index IDX_PRODUTO_PERSONALIZACAO on PRODUTO_PERSONALIZACAO (CODPRODUTO);
create unique index UNQ_GRUPO_PERSONALIZACAO_ITEM on GRUPO_PERSONALIZACAO_ITEM (CODGRUPOPERSONALIZACAO, CODPRODUTO);
