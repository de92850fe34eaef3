-- Host services: company details, configuration, users and rights, cash
-- register openings and the audit log.

alter table PAR_GERAL add PARG_REGIME_TRIBUTARIO varchar(40);
alter table PAR_GERAL add PARG_EMITE_NFE char(1) default 'N';
alter table PAR_GERAL add PARG_CONTROLA_ESTOQUE char(1) default 'N';
alter table PAR_GERAL add PARG_MOSTRA_INSCRICAO char(1) default 'N';
alter table PAR_GERAL add PARG_VALOR_COUVERT numeric(18,4) default 0;
alter table PAR_GERAL add PARG_NOME_MESA varchar(20) default 'Mesa';
alter table PAR_GERAL add PARG_MD5 varchar(60);
alter table PAR_GERAL add PARG_TRABALHA_ABERTURA char(1) default 'S';
alter table PAR_GERAL add PARG_SENHA_EXCLUSAO varchar(64);

create table CONFIGURACAO (
    CFG_CHAVE     varchar(60) not null primary key,
    CFG_GRUPO     varchar(60) not null,
    CFG_TIPO      varchar(3) default 'TXT' not null,
    CFG_VALOR     varchar(1000),
    CFG_DESCRICAO varchar(300)
);

create table SEG_USU_GRUPO (
    CODSEGUSUGRUPO integer not null primary key,
    SEGG_NOME      varchar(60) not null unique
);
create generator GEN_SEG_USU_GRUPO;

-- Passwords are kept as PBKDF2-SHA256 of a per-user salt, never in clear.
create table SEG_USUARIO (
    CODSEGUSUARIO   integer not null primary key,
    SEGU_NOME       varchar(60) not null unique,
    SEGU_SENHA      varchar(64),
    SEGU_SALT       varchar(32),
    SEGU_ATIVO      char(1) default 'S' not null,
    SEGU_SUPERVISOR char(1) default 'N' not null,
    CODSEGUSUGRUPO  integer references SEG_USU_GRUPO
);
create generator GEN_SEG_USUARIO;

create table SEG_MENU (
    CODSEGMENU     integer not null primary key,
    SEGM_NOME      varchar(100) not null unique,
    SEGM_DESCRICAO varchar(100)
);
create generator GEN_SEG_MENU;

create table SEG_ACES_GRP (
    CODSEGACESGRP  integer not null primary key,
    CODSEGMENU     integer not null references SEG_MENU,
    CODSEGUSUGRUPO integer not null references SEG_USU_GRUPO,
    SEGA_ACESSAR   char(1) default 'S' not null,
    unique (CODSEGMENU, CODSEGUSUGRUPO)
);
create generator GEN_SEG_ACES_GRP;

create table CAIXA_ABERTURA (
    CODCAIXAABERTURA     integer not null primary key,
    CXA_DATA             date not null,
    CXA_VALOR_INICIAL    numeric(18,4) default 0 not null,
    CXA_STATUS           varchar(10) default 'ABERTO' not null,
    CXA_USUARIO          varchar(60),
    CXA_DT_ABERTURA      timestamp,
    CXA_DT_FECHAMENTO    timestamp,
    CXA_VALOR_FECHAMENTO numeric(18,4)
);
create generator GEN_CAIXA_ABERTURA;

create table LOG_SISTEMA (
    CODLOG          integer not null primary key,
    LOG_DATA        timestamp not null,
    LOG_OPERACAO    varchar(30),
    LOG_TABELA      varchar(60),
    LOG_CAMPO_CHAVE varchar(60),
    LOG_VALOR_CHAVE varchar(60),
    LOG_DETALHES    varchar(1000),
    LOG_TEXTO       blob sub_type text,
    LOG_RESPOSTA    blob sub_type text,
    LOG_USUARIO     varchar(60)
);
create generator GEN_LOG_SISTEMA;
