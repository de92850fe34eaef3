-- General invoice parameters (one row) and the print layout of the
-- pre-printed invoice form, keyed by record-set name and column name.
create table PARAMETRO_NF (
    CODPARAMETRONF    integer not null primary key,
    PARN_SELO_FISCAL  varchar(20),
    PARN_SERIE_PADRAO varchar(5),
    PARN_CFOP_PADRAO  varchar(5)
);

create table PAR_NFVENDA_IMPRESSAO (
    CODPARNI       integer not null primary key,
    PARNI_TABELA   varchar(40) not null,
    PARNI_CAMPO    varchar(40) not null,
    PARNI_IMPRIMIR char(1) default 'S' not null,
    PARNI_COLUNA   integer default 0 not null,
    PARNI_LINHA    integer default 0 not null,
    PARNI_TAMANHO  integer default 0 not null,
    PARNI_SALTO    integer default 1 not null,
    unique (PARNI_TABELA, PARNI_CAMPO)
);
create generator GEN_PAR_NFVENDA_IMPRESSAO;
commit;
insert into PARAMETRO_NF (CODPARAMETRONF) values (1);
