-- Registers of the sibling modules: persons, products and their satellites,
-- services, CFOP, series, banks, cost centres, currency types, payment
-- methods, sellers, receivables and payables, stock movements.

create table PESSOA_GRUPO (
    CODPESSOAGRUPO integer not null primary key,
    PESG_DESCRICAO varchar(60) not null
);
create generator GEN_PESSOA_GRUPO;

create table PESSOA (
    CODPESSOA               integer not null primary key,
    PES_TIPO                char(1) default 'F' not null,   -- F natural person, J legal person
    PES_NOME                varchar(100) not null,
    PES_RAZAO_SOCIAL        varchar(100),
    PES_NOME_2              varchar(100),
    PES_RAZAO_SOCIAL_2      varchar(100),
    PES_CPFCNPJ             varchar(18),
    PES_RG                  varchar(20),
    PES_IE                  varchar(20),
    PES_CONTRIBUINTE        char(1) default 'N',            -- S taxpayer, I exempt, N not a taxpayer
    PES_CONSUMIDOR_FINAL    char(1) default 'S',
    PES_CONTATOS            varchar(100),
    PES_ENDERECO            varchar(100),
    PES_ENDERECO_NUMERO     varchar(10),
    PES_ENDERECO_COMPLEMENTO varchar(60),
    PES_BAIRRO              varchar(60),
    PES_CIDADE              varchar(60),
    PES_UF                  char(2),
    PES_CEP                 varchar(9),
    PES_PAIS                varchar(60) default 'BRASIL',
    PES_PONTO_REFERENCIA    varchar(100),
    PES_TELEFONE_DDD        varchar(3),
    PES_TELEFONE            varchar(15),
    PES_CELULAR_DDD         varchar(3),
    PES_CELULAR             varchar(15),
    PES_EMAIL               varchar(100),
    PES_EMAIL_NFE           varchar(100),
    PES_DATA                date,
    PES_DT_NASCIMENTO       date,
    PES_SEXO                char(1),
    PES_MATRICULA           varchar(20),
    PES_CLASS_CLI           varchar(20),
    PES_ATIVO               char(1) default 'S',
    CODPESSOAGRUPO          integer references PESSOA_GRUPO,
    CODTRANSPORTADORA       integer
);
create generator GEN_PESSOA;
create index IDX_PESSOA_NOME on PESSOA (PES_NOME);
create index IDX_PESSOA_CELULAR on PESSOA (PES_CELULAR);

create table PRODUTO_GRUPO (
    CODPRODUTOGRUPO integer not null primary key,
    PROG_DESCRICAO  varchar(60) not null,
    PROG_COR        varchar(9),
    PROG_ORDEM      integer default 0
);
create generator GEN_PRODUTO_GRUPO;

create table PRODUTO_SUBGRUPO (
    CODPRODUTOSUBGRUPO integer not null primary key,
    CODPRODUTOGRUPO    integer references PRODUTO_GRUPO,
    PROS_DESCRICAO     varchar(60) not null,
    PROS_COR           varchar(9),
    PROS_ORDEM         integer default 0
);
create generator GEN_PRODUTO_SUBGRUPO;

create table MARCA (CODMARCA integer not null primary key, MAR_DESCRICAO varchar(60) not null);
create generator GEN_MARCA;
create table PRODUTO_GRAU (CODPRODUTOGRAU integer not null primary key, PRODG_DESCRICAO varchar(60) not null);
create generator GEN_PRODUTO_GRAU;
create table PRODUTO_CATESP (
    CODPRODUTOCATESP integer not null primary key,
    PROC_SIGLA       varchar(5),
    PROC_CODIGO      varchar(15)
);
create generator GEN_PRODUTO_CATESP;
create table CLASS_FISCAL (CODCLASSFISCAL integer not null primary key, CLA_REFERENCIA varchar(20) not null);
create generator GEN_CLASS_FISCAL;

-- Approximate tax burden per NCM (national and imported goods), in percent.
create table NCM_ALIQUOTA (
    NCM_CODIGO          varchar(10) not null primary key,
    NCM_DESCRICAO       varchar(200),
    NCM_ALIQ_NACIONAL   numeric(18,4) default 0,
    NCM_ALIQ_IMPORTADO  numeric(18,4) default 0
);

create table PRODUTO (
    CODPRODUTO            integer not null primary key,
    PRO_CODPESQ_1         varchar(20) not null unique,
    PRO_DESCRICAO         varchar(150) not null,
    PRO_DESCRICAO_MENOR   varchar(20),
    PRO_EAN13             varchar(13),
    PRO_NCM               varchar(15),
    PRO_CEST              varchar(10),
    PRO_CST               varchar(3),
    PRO_CSOSN             varchar(3),
    PRO_ICMS_ORIGEM       char(1) default '0',
    PRO_SI_TRIB_ORVEL     varchar(3),
    PRO_ST_TRIB           varchar(3),
    PRO_REG_ICMS          char(1),
    PRO_TIPOLISTA         char(1),
    PRO_ALIQ_ICMS            numeric(18,4) default 0,
    PRO_ALIQ_ICMS_NCONT      numeric(18,4) default 0,
    PRO_ALIQ_ICMS_FORA       numeric(18,4) default 0,
    PRO_ALIQ_ICMS_FORA_NCONT numeric(18,4) default 0,
    PRO_PER_REDUC            numeric(18,4) default 0,
    PRO_PER_REDUC_NCONT      numeric(18,4) default 0,
    PRO_PER_REDUC_FORA       numeric(18,4) default 0,
    PRO_PER_REDUC_FORA_NCONT numeric(18,4) default 0,
    PRO_ALIQ_IMP          numeric(18,4) default 0,
    PRO_FCP_ALIQ          numeric(18,4) default 0,
    PRO_PRECO01 numeric(18,4) default 0, PRO_PRECO02 numeric(18,4) default 0, PRO_PRECO03 numeric(18,4) default 0,
    PRO_PRECO04 numeric(18,4) default 0, PRO_PRECO05 numeric(18,4) default 0, PRO_PRECO06 numeric(18,4) default 0,
    PRO_PRECO07 numeric(18,4) default 0, PRO_PRECO08 numeric(18,4) default 0, PRO_PRECO09 numeric(18,4) default 0,
    PRO_PRECO10 numeric(18,4) default 0, PRO_PRECO11 numeric(18,4) default 0, PRO_PRECO12 numeric(18,4) default 0,
    PRO_PRECO13 numeric(18,4) default 0, PRO_PRECO14 numeric(18,4) default 0,
    PRO_PRECO_CUSTO       numeric(18,4) default 0,
    PRO_PRECO_COMPRA      numeric(18,4) default 0,
    PRO_ESTQ_ATUAL        numeric(18,4) default 0 not null,
    PRO_ESTQ_RESERVADO    numeric(18,4) default 0 not null,
    PRO_DESC_MAX          numeric(18,4) default 0,
    PRO_ALT_PRECO         char(1) default 'N',
    PRO_BALANCA           char(1) default 'N',
    PRO_NPERM_FRACIONADO  char(1) default 'N',
    PRO_NPERM_SEMESTOQ    char(1) default 'N',
    PRO_PERSONALIZADO     char(1) default 'N',
    PRO_IMP_COZINHA       char(1) default 'N',
    PRO_IMP_BAR           char(1) default 'N',
    PRO_IMP_PIZZA         char(1) default 'N',
    PRO_IMP_CHURRASQUEIRA char(1) default 'N',
    PRO_LOCALIZACAO       varchar(30),
    PRO_ATIVO             char(1) default 'S',
    CODPRODUTOGRUPO       integer references PRODUTO_GRUPO,
    CODPRODUTOSUBGRUPO    integer references PRODUTO_SUBGRUPO,
    CODMARCA              integer references MARCA,
    CODFABRICANTE         integer,
    CODPRODUTOGRAU        integer references PRODUTO_GRAU,
    CODPRODUTOCATESP      integer references PRODUTO_CATESP,
    CODCLASSFISCAL        integer references CLASS_FISCAL
);
create generator GEN_PRODUTO;
create index IDX_PRODUTO_DESCRICAO on PRODUTO (PRO_DESCRICAO);

-- Units a product is sold in; UND_QTDE converts one of them into base units.
create table PRODUTO_UNIDADE (
    CODPRODUTOUNIDADE integer not null primary key,
    CODPRODUTO        integer not null references PRODUTO,
    UND_SIGLA         varchar(4) not null,
    UND_DESCRICAO     varchar(40),
    UND_QTDE          numeric(18,4) default 1 not null,
    UND_PRINCIPAL     char(1) default 'N' not null
);
create generator GEN_PRODUTO_UNIDADE;

create table PRODUTO_COMPOSICAO (
    CODPRODUTOCOMPOSICAO integer not null primary key,
    CODPRODUTO           integer not null references PRODUTO,
    CODPRODUTOFILHO      integer not null references PRODUTO,
    PROC_QTDE            numeric(18,4) default 1 not null
);
create generator GEN_PRODUTO_COMPOSICAO;

create table PRODUTO_RESERVA (
    CODPRODUTORESERVA integer not null primary key,
    CODPRODUTO        integer not null references PRODUTO,
    PRODR_QTDE        numeric(18,4) not null,
    PRODR_ORIGEM      varchar(30),
    PRODR_DOCUMENTO   integer,
    PRODR_DATA        timestamp
);
create generator GEN_PRODUTO_RESERVA;

create table GRUPO_PERSONALIZACAO (
    CODGRUPOPERSONALIZACAO integer not null primary key,
    GRPP_DESCRICAO         varchar(30) not null,
    GRPP_QTDE_MAX          integer default 0
);
create generator GEN_GRUPO_PERSONALIZACAO;
create table GRUPO_PERSONALIZACAO_ITEM (
    CODGRUPOPERSONALIZACAOITEM integer not null primary key,
    CODGRUPOPERSONALIZACAO     integer not null references GRUPO_PERSONALIZACAO,
    CODPRODUTO                 integer not null references PRODUTO
);
create generator GEN_GRUPO_PERSONALIZACAO_ITEM;

create table SERVICOS (
    CODSERVICO    integer not null primary key,
    SER_DESCRICAO varchar(150) not null,
    SERU_SIGLA    varchar(4) default 'UN',
    SER_VALOR     numeric(18,4) default 0,
    SER_ALIQ_ISS  numeric(18,4) default 0
);
create generator GEN_SERVICOS;

create table CFOP (
    CODCFOP             varchar(5) not null primary key,
    CFOP_DESCRICAO      varchar(100) not null,
    CFOP_CLASSIFICACAO  varchar(30),
    CFOP_TIPO           char(1) default 'S' not null,   -- S outgoing, E incoming
    CFOP_GERAFINANCEIRO char(1) default 'S' not null
);

create table SERIE (
    CODSERIE       varchar(5) not null primary key,
    SER_DESCRICAO  varchar(60),
    SER_SEQ        integer default 0 not null,
    SER_TIPO       varchar(12) default 'NF-e' not null, -- NF-e, Formulário, Talão
    SER_ATIVO      char(1) default 'S' not null,
    CODEMPRESA     integer default 1,
    SER_SERIE_NFE  varchar(3)
);

create table BANCO (CODBANCO integer not null primary key, BAN_DESCRICAO varchar(60) not null);
create generator GEN_BANCO;
create table CENTCUSTO (CODCENTCUSTO integer not null primary key, CEN_DESCRICAO varchar(60) not null);
create generator GEN_CENTCUSTO;

create table MOEDA (
    CODMOEDA          integer not null primary key,
    MOE_DESCRICAO     varchar(40) not null,
    MOE_NFE_PAG       varchar(2) default '01',
    MOE_NFE_BAND      varchar(2),
    MOE_NFE_INTEGRADO char(1) default 'N'
);
create generator GEN_MOEDA;

create table FORMAPAGAMENTO (
    CODFORMAPAGAMENTO integer not null primary key,
    FPG_DESCRICAO     varchar(60) not null,
    FPG_PARCELAS      integer default 1 not null,
    FPG_DIAS_PRIMEIRA integer default 0 not null,
    FPG_INTERVALO     integer default 30 not null,
    CODMOEDA          integer references MOEDA
);
create generator GEN_FORMAPAGAMENTO;

create table VENDEDOR (
    CODVENDEDOR  integer not null primary key,
    VEN_NOME     varchar(60) not null,
    VEN_COMISSAO numeric(18,4) default 0,
    VEN_ATIVO    char(1) default 'S'
);
create generator GEN_VENDEDOR;

create table CONTAS (
    CODCONTAS          integer not null primary key,
    CON_TIPO           char(1) default 'R' not null,  -- R receivable, P payable
    CODPESSOA          integer references PESSOA,
    CON_ORIGEM         varchar(20),                   -- document kind, e.g. NFVENDA
    CON_CODORIGEM      integer,                       -- its key
    CON_NUMDOC         varchar(20),
    CON_NUMDOC_BOLETO  varchar(30),
    CON_PARCELA        integer default 1 not null,
    CON_QTDE_PARCELAS  integer default 1 not null,
    CON_DTEMISSAO      date,
    CON_DTVENC         date not null,
    CON_VLRPARCELA     numeric(18,4) not null,
    CON_VLRTOTAL       numeric(18,4) not null,
    CON_SALDO          numeric(18,4) not null,
    CON_STATUS         varchar(10) default 'ABERTA' not null,
    CODFORMAPAGAMENTO  integer references FORMAPAGAMENTO,
    CODCENTCUSTO       integer references CENTCUSTO
);
create generator GEN_CONTAS;
create index IDX_CONTAS_ORIGEM on CONTAS (CON_ORIGEM, CON_CODORIGEM);

create table CONTAS_BAIXAS (
    CODCONTASBAIXA integer not null primary key,
    CODCONTAS      integer not null references CONTAS,
    CONB_DATA      date not null,
    CONB_VALOR     numeric(18,4) not null,
    CODMOEDA       integer references MOEDA
);
create generator GEN_CONTAS_BAIXAS;

-- Every stock change is a movement row; the trigger keeps PRO_ESTQ_ATUAL in step.
create table ESTOQUE_MOVIMENTO (
    CODESTOQUEMOVIMENTO integer not null primary key,
    CODPRODUTO          integer not null references PRODUTO,
    ESTM_DATA           timestamp default current_timestamp not null,
    ESTM_TIPO           smallint not null check (ESTM_TIPO in (1, 2)),  -- 1 entry, 2 exit
    ESTM_QTDE           numeric(18,4) not null,
    ESTM_ORIGEM         varchar(30),
    ESTM_DOCUMENTO      integer
);
create generator GEN_ESTOQUE_MOVIMENTO;
commit;

set term ^ ;

create trigger TRG_ESTOQUE_MOVIMENTO_AI for ESTOQUE_MOVIMENTO after insert as
begin
  update PRODUTO
     set PRO_ESTQ_ATUAL = PRO_ESTQ_ATUAL + iif(new.ESTM_TIPO = 1, new.ESTM_QTDE, -new.ESTM_QTDE)
   where CODPRODUTO = new.CODPRODUTO;
end^

-- A product's units with their conversion quantities; a product without
-- units of its own is sold in "UN".
create procedure STP_CONS_PRODUTO_UNIDADE (CODPRODUTO integer)
returns (CODPRODUTOUNIDADE integer, UND_SIGLA varchar(4), UND_DESCRICAO varchar(40), UND_QTDE numeric(18,4),
         UND_PRINCIPAL char(1))
as
declare variable achou integer = 0;
begin
  for select CODPRODUTOUNIDADE, UND_SIGLA, UND_DESCRICAO, UND_QTDE, UND_PRINCIPAL
        from PRODUTO_UNIDADE where CODPRODUTO = :CODPRODUTO
       order by UND_PRINCIPAL desc, UND_QTDE
        into :CODPRODUTOUNIDADE, :UND_SIGLA, :UND_DESCRICAO, :UND_QTDE, :UND_PRINCIPAL do
  begin
    achou = 1;
    suspend;
  end
  if (achou = 0) then
  begin
    CODPRODUTOUNIDADE = 0; UND_SIGLA = 'UN'; UND_DESCRICAO = 'UNIDADE'; UND_QTDE = 1; UND_PRINCIPAL = 'S';
    suspend;
  end
end^

set term ; ^
