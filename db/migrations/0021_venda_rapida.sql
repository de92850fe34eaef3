-- The fiscal coupon that closed a restaurant order, and how it was paid.
-- One coupon per order: a second terminal closing the same table cannot
-- write another.
alter table PEDECF add CODPEDIDO integer references RES_PEDIDO;
create unique index UNQ_PEDECF_CODPEDIDO on PEDECF (CODPEDIDO);

create table PEDECF_PAGAMENTO (
    CODPEDECFPAGAMENTO integer not null primary key,
    CODPEDECF          integer not null references PEDECF,
    CODMOEDA           integer not null references MOEDA,
    PECFP_VALOR        numeric(18,4) not null,
    PECFP_TROCO        numeric(18,4) default 0 not null
);
create generator GEN_PEDECF_PAGAMENTO;
create index IDX_PEDECF_PAGAMENTO on PEDECF_PAGAMENTO (CODPEDECF);
commit;
