-- The issuing company: one row per company of the shop.
create table PAR_GERAL (
    CODEMPRESA             integer not null primary key,
    PARG_EMPRESA           varchar(100) not null,
    PARG_FANTASIA          varchar(100),
    PARG_CPFCGC            varchar(18),
    PARG_IE                varchar(20),
    PARG_IM                varchar(20),
    PARG_TELEFONE          varchar(20),
    PARG_ENDERECO          varchar(100),
    PARG_NUMERO            varchar(10),
    PARG_COMPLEMENTO       varchar(60),
    PARG_BAIRRO            varchar(60),
    PARG_CIDADE            varchar(60),
    PARG_COD_MUNICIPIO     integer,
    PARG_UF                char(2),
    PARG_CEP               varchar(9),
    PARG_SISTEMA_EXCLUSIVO char(1) default 'N'
);

create generator GEN_PAR_GERAL;
