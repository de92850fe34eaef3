-- Sale orders of the host (counter and delivery orders).
create table PEDVENDA (
    CODPEDVENDA           integer not null primary key,
    CODPESSOA             integer references PESSOA,
    PEDV_TIPO             varchar(20),
    PEDV_STATUS           varchar(12) default 'Aberto' not null,
    PEDV_ENTREGA          varchar(10),
    PEDV_DATA_ENTRADA     date,
    PEDV_HORA_PEDIDO      time,
    PEDV_DATA_LIBERACAO   timestamp,
    PEDV_DATA_ENTREGA     timestamp,
    PEDV_DATA_ENTREGA_FIM timestamp,
    PEDV_DATA_CANCELAMENTO timestamp,
    CODGARCONENTREGADOR   integer,
    PEDV_TOTAL_PRODUTOS   numeric(18,4) default 0,
    PEDV_TOTAL_PEDIDO     numeric(18,4) default 0
);
create generator GEN_PEDVENDA;

create table PEDVENDA_ITEM (
    CODPEDVENDAITEM integer not null primary key,
    CODPEDVENDA     integer not null references PEDVENDA,
    CODPRODUTO      integer references PRODUTO,
    PEDI_QTDE       numeric(18,4) default 0,
    PEDI_VLRUNIT    numeric(18,4) default 0,
    PEDI_TOTAL      numeric(18,4) default 0
);
create generator GEN_PEDVENDA_ITEM;
