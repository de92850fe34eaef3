-- Names and columns the invoice, order, counter and bill screens read from
-- the registers: units as PROU_ columns with a general unit 0 ("UN") that a
-- product without units of its own points to; a product's base unit and
-- CFOP; a service's unit; receivables keyed by CODCONTA and tied to the
-- invoice (number and series) or purchase they came from; settlements by the
-- names the receipt reads; stock reserved per sale-order item; the company
-- of a series; the digest of a DAV; the
-- seller, vehicle and entry moment on both counter documents; the two-letter
-- tax rate code of the fiscal printer.

drop procedure STP_CONS_PRODUTO_UNIDADE;
commit;

alter table PRODUTO_UNIDADE alter UND_SIGLA to PROU_SIGLA;
alter table PRODUTO_UNIDADE alter UND_DESCRICAO to PROU_DESCRICAO;
alter table PRODUTO_UNIDADE alter UND_QTDE to PROU_QTDE;
alter table PRODUTO_UNIDADE alter UND_PRINCIPAL to PROU_PRINCIPAL;
alter table PRODUTO_UNIDADE alter CODPRODUTO drop not null;
alter table PRODUTO add CODPRODUTOUNIDADE integer default 0;
alter table PRODUTO add CODCFOP varchar(5) references CFOP;
alter table SERVICOS add CODUNIDADE integer default 0;

alter table PRODUTO add PRO_ALIQ_IMP_COD char(2);

-- Keys cannot be renamed while a constraint uses them: drop, rename, add back.
set term ^ ;
execute block as
declare variable tabela varchar(63);
declare variable restricao varchar(63);
begin
  for select trim(rc.RDB$RELATION_NAME), trim(rc.RDB$CONSTRAINT_NAME) from RDB$RELATION_CONSTRAINTS rc
      join RDB$INDEX_SEGMENTS s on s.RDB$INDEX_NAME = rc.RDB$INDEX_NAME
      where rc.RDB$CONSTRAINT_TYPE in ('PRIMARY KEY', 'FOREIGN KEY')
        and ((rc.RDB$RELATION_NAME = 'CONTAS_BAIXAS' and s.RDB$FIELD_NAME in ('CODCONTAS', 'CODCONTASBAIXA'))
          or (rc.RDB$RELATION_NAME = 'CONTAS' and s.RDB$FIELD_NAME = 'CODCONTAS'))
      order by iif(rc.RDB$CONSTRAINT_TYPE = 'FOREIGN KEY', 0, 1), iif(rc.RDB$RELATION_NAME = 'CONTAS_BAIXAS', 0, 1)
      into :tabela, :restricao do
    execute statement 'alter table ' || tabela || ' drop constraint ' || restricao;
end^
set term ; ^
commit;

alter table CONTAS alter CODCONTAS to CODCONTA;
alter table CONTAS add CODNFVENDA integer;
alter table CONTAS add CODSERIE varchar(5);
alter table CONTAS add CODNFCOMPRA integer;
alter table CONTAS add CON_VLRPAGO numeric(18,4) default 0 not null;
alter table CONTAS add CODMOEDA integer references MOEDA;
alter table CONTAS add CON_PARCELA_TXT varchar(5);
create index IDX_CONTAS_NFVENDA on CONTAS (CODNFVENDA, CODSERIE);
create index IDX_CONTAS_NFCOMPRA on CONTAS (CODNFCOMPRA);

alter table CONTAS_BAIXAS alter CODCONTASBAIXA to CODCONTABAIXA;
alter table CONTAS_BAIXAS alter CODCONTAS to CODCONTA;
alter table CONTAS_BAIXAS alter CONB_DATA to COBX_DTPAG;
alter table CONTAS_BAIXAS alter CONB_VALOR to COBX_VLRPAGO;
alter table CONTAS_BAIXAS add CODBANCO integer references BANCO;
commit;
alter table CONTAS add constraint PK_CONTAS primary key (CODCONTA);
alter table CONTAS_BAIXAS add constraint PK_CONTAS_BAIXAS primary key (CODCONTABAIXA);
commit;
alter table CONTAS_BAIXAS add constraint FK_CONTAS_BAIXAS_CONTA foreign key (CODCONTA) references CONTAS;

alter table SERIE add CODPARGERAL integer default 1;

alter table PRODUTO_RESERVA alter PRODR_QTDE to PROR_QTDE;
alter table PRODUTO_RESERVA add CODPEDVENDAITEM integer;

alter table DAV add DAV_MD5 varchar(32);
alter table DAV_ITEM add DAVI_DT_CAD timestamp;
alter table PREVENDA add CODVENDEDOR_EXTERNO integer;
alter table PREVENDA add DAV_MARCA varchar(30);
alter table PREVENDA add DAV_MODELO varchar(30);
alter table PREVENDA add DAV_ANO varchar(4);
alter table PREVENDA add DAV_PLACA varchar(8);
alter table PREVENDA add DAV_RENAVAM bigint;
commit;

-- The general unit; the key 0 is never drawn from the generator.
insert into PRODUTO_UNIDADE (CODPRODUTOUNIDADE, CODPRODUTO, PROU_SIGLA, PROU_DESCRICAO, PROU_QTDE, PROU_PRINCIPAL)
    values (0, null, 'UN', 'UNIDADE', 1, 'S');
update PRODUTO p set CODPRODUTOUNIDADE = coalesce((select first 1 u.CODPRODUTOUNIDADE from PRODUTO_UNIDADE u
    where u.CODPRODUTO = p.CODPRODUTO and u.PROU_PRINCIPAL = 'S' order by u.PROU_QTDE, u.CODPRODUTOUNIDADE), 0);
update SERVICOS s set CODUNIDADE = coalesce((select first 1 u.CODPRODUTOUNIDADE from PRODUTO_UNIDADE u
    where u.CODPRODUTO is null and u.PROU_SIGLA = s.SERU_SIGLA order by u.CODPRODUTOUNIDADE), 0);
-- A rate of 18% is the printer's code "18"; no rate leaves the code empty.
update PRODUTO set PRO_ALIQ_IMP_COD = iif(coalesce(PRO_ALIQ_IMP, 0) > 0 and PRO_ALIQ_IMP < 100,
    lpad(cast(cast(PRO_ALIQ_IMP as integer) as varchar(2)), 2, '0'), null);
update CONTAS set CON_VLRPAGO = CON_VLRPARCELA - CON_SALDO, CON_PARCELA_TXT = cast(CON_PARCELA as varchar(5));
update CONTAS set CODNFVENDA = CON_CODORIGEM where CON_ORIGEM = 'NFVENDA';
update SERIE set CODPARGERAL = coalesce(CODEMPRESA, 1);
commit;

alter table PRODUTO drop PRO_ALIQ_IMP;
alter table CONTAS drop CON_PARCELA;
commit;
alter table PRODUTO alter PRO_ALIQ_IMP_COD to PRO_ALIQ_IMP;
alter table CONTAS alter CON_PARCELA_TXT to CON_PARCELA;
alter table CONTAS alter CON_PARCELA set default '1';
commit;

set term ^ ;

-- A product's units with their conversion quantities; a product without
-- units of its own is sold in its base unit (the general "UN").
create procedure STP_CONS_PRODUTO_UNIDADE (CODPRODUTO integer)
returns (CODPRODUTOUNIDADE integer, PROU_SIGLA varchar(4), QTDE numeric(18,4))
as
declare variable achou integer = 0;
declare variable principal char(1);
begin
  for select distinct u.CODPRODUTOUNIDADE, u.PROU_SIGLA, u.PROU_QTDE, u.PROU_PRINCIPAL
        from PRODUTO_UNIDADE u where u.CODPRODUTO = :CODPRODUTO
       order by u.PROU_PRINCIPAL desc, u.PROU_QTDE, u.CODPRODUTOUNIDADE
        into :CODPRODUTOUNIDADE, :PROU_SIGLA, :QTDE, :principal do
  begin
    achou = 1;
    suspend;
  end
  if (achou = 0) then
  begin
    select first 1 u.CODPRODUTOUNIDADE, u.PROU_SIGLA, 1 from PRODUTO p
      join PRODUTO_UNIDADE u on u.CODPRODUTOUNIDADE = coalesce(p.CODPRODUTOUNIDADE, 0)
      where p.CODPRODUTO = :CODPRODUTO
      into :CODPRODUTOUNIDADE, :PROU_SIGLA, :QTDE;
    if (row_count = 0) then
    begin
      CODPRODUTOUNIDADE = 0; PROU_SIGLA = 'UN'; QTDE = 1;
    end
    suspend;
  end
end^

-- A product's base unit follows its main unit, whoever writes the units.
create trigger TRG_PRODUTO_UNIDADE_BASE for PRODUTO_UNIDADE after insert or update or delete position 0
as
declare variable produto integer;
begin
  produto = iif(deleting, old.CODPRODUTO, new.CODPRODUTO);
  if (produto is not null) then
    update PRODUTO p set p.CODPRODUTOUNIDADE = coalesce((select first 1 u.CODPRODUTOUNIDADE from PRODUTO_UNIDADE u
        where u.CODPRODUTO = p.CODPRODUTO and u.PROU_PRINCIPAL = 'S' order by u.PROU_QTDE, u.CODPRODUTOUNIDADE), 0)
      where p.CODPRODUTO = :produto;
  if (updating and old.CODPRODUTO is distinct from new.CODPRODUTO and old.CODPRODUTO is not null) then
    update PRODUTO p set p.CODPRODUTOUNIDADE = coalesce((select first 1 u.CODPRODUTOUNIDADE from PRODUTO_UNIDADE u
        where u.CODPRODUTO = p.CODPRODUTO and u.PROU_PRINCIPAL = 'S' order by u.PROU_QTDE, u.CODPRODUTOUNIDADE), 0)
      where p.CODPRODUTO = old.CODPRODUTO;
end^

create trigger TRG_PRODUTO_UNIDADE_PADRAO for PRODUTO before insert position 0
as
begin
  if (new.CODPRODUTOUNIDADE is null) then
    new.CODPRODUTOUNIDADE = 0;
end^

set term ; ^
