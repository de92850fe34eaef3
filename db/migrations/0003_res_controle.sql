-- Restaurant tables and personal tabs (numbered 1000 and above); a tab card
-- carries its bar code in CON_EAN.
create table RES_CONTROLE (
    CODCONTROLE        integer not null primary key,
    CON_STATUS         varchar(10),
    CON_COBRAR_SERVICO char(1) default 'S',
    CON_SALDO          numeric(18,4) default 0,
    CON_EAN            varchar(14),
    CODPESSOA          integer
);
create index IDX_RES_CONTROLE_EAN on RES_CONTROLE (CON_EAN);
