-- Billing of sales invoices: purchase invoices (a return refers to one),
-- customer credits, and the procedures that bill, cancel and reopen.

create table NFCOMPRA (
    CODNFCOMPRA       integer not null primary key,
    CODPESSOA         integer not null references PESSOA,
    NFC_NRNOTA        varchar(20),
    NFC_DATA_EMI      date,
    NFC_TOTAL_NOTA    numeric(18,4) default 0 not null,
    CODCENTCUSTO      integer references CENTCUSTO,
    CODFORMAPAGAMENTO integer references FORMAPAGAMENTO
);
create generator GEN_NFCOMPRA;

-- Credits of a person (e.g. what was already paid on goods returned).
create table NOTA_CREDITO (
    CODNOTACREDITO integer not null primary key,
    CODPESSOA      integer not null references PESSOA,
    NTC_TIPO       varchar(3) not null,
    NTC_VALOR      numeric(18,4) not null,
    CODBANCO       integer references BANCO,
    NTC_USUARIO    varchar(60),
    NTC_DATA       timestamp default current_timestamp not null
);
create generator GEN_NOTA_CREDITO;

-- Reservations of sales-order items that a billing consumed, so undoing the
-- billing gives them back.
create table NFVENDA_RESERVA_BAIXADA (
    CODNFVENDA      integer not null,
    CODSERIE        varchar(5) not null,
    CODPEDVENDAITEM integer not null,
    CODPRODUTO      integer not null,
    NFRB_QTDE       numeric(18,4) not null
);
create index IDX_NFVENDA_RESERVA_BAIXADA on NFVENDA_RESERVA_BAIXADA (CODNFVENDA, CODSERIE);
create index IDX_ESTOQUE_MOV_DOCUMENTO on ESTOQUE_MOVIMENTO (ESTM_ORIGEM, ESTM_DOCUMENTO);

create exception E_NFVENDA_SITUACAO 'A situação da Nota Fiscal não permite esta operação.';
commit;

set term ^ ;

create procedure STP_NTCREDITO_ADD (CODPESSOA integer, NTC_TIPO varchar(3), VALOR numeric(18,4), CODBANCO integer,
                                    NTC_USUARIO varchar(60))
as
begin
  insert into NOTA_CREDITO (CODNOTACREDITO, CODPESSOA, NTC_TIPO, NTC_VALOR, CODBANCO, NTC_USUARIO)
  values (gen_id(GEN_NOTA_CREDITO, 1), :CODPESSOA, :NTC_TIPO, :VALOR, nullif(:CODBANCO, 0), :NTC_USUARIO);
end^

-- Status "Faturada"; with BAIXA_ESTOQUE the products leave stock (enter for an
-- invoice of type "E"), first from the reservation of the sales-order item
-- they come from. Refuses an invoice that is not "Aberta" (another terminal
-- billed it meanwhile).
create procedure STP_NFVENDA_FATURA (CODNFVENDA integer, CODSERIE varchar(5), FINANCEIRO char(1),
                                     BAIXA_ESTOQUE char(1), LOTE char(1))
as
declare variable TIPO char(1);
declare variable ORIGEM varchar(30);
declare variable PRODUTO integer;
declare variable PEDITEM integer;
declare variable QTDE numeric(18,4);
declare variable RESTA numeric(18,4);
declare variable RESERVA integer;
declare variable RESERVADO numeric(18,4);
declare variable USADO numeric(18,4);
begin
  update NFVENDA set NFV_STATUS = 'Faturada'
   where CODNFVENDA = :CODNFVENDA and CODSERIE = :CODSERIE and NFV_STATUS = 'Aberta';
  if (row_count = 0) then
    exception E_NFVENDA_SITUACAO 'A Nota Fiscal ' || :CODNFVENDA || ' - Série ' || :CODSERIE || ' não está Aberta.';
  if (coalesce(BAIXA_ESTOQUE, 'N') <> 'S') then
    exit;
  select coalesce(NFV_TIPO, 'S') from NFVENDA where CODNFVENDA = :CODNFVENDA and CODSERIE = :CODSERIE into :TIPO;
  ORIGEM = 'NFVenda ' || CODSERIE;
  for select CODPRODUTO, coalesce(CODPEDVENDAITEM, 0), coalesce(NFVI_QTDE, 0) from NFVENDA_ITEM
       where CODNFVENDA = :CODNFVENDA and CODSERIE = :CODSERIE and CODPRODUTO > 0
         and coalesce(NFVI_CATEGORIA, '') <> 'Serviço'
       order by CODNFVENDAITEM
      into :PRODUTO, :PEDITEM, :QTDE do
  begin
    USADO = 0;
    RESTA = QTDE;
    if (PEDITEM > 0 and TIPO <> 'E') then
    begin
      for select CODPRODUTORESERVA, PROR_QTDE from PRODUTO_RESERVA
           where CODPRODUTO = :PRODUTO and CODPEDVENDAITEM = :PEDITEM and PROR_QTDE > 0
           order by CODPRODUTORESERVA
          into :RESERVA, :RESERVADO do
        if (RESTA > 0) then
        begin
          RESERVADO = minvalue(RESERVADO, RESTA);
          update PRODUTO_RESERVA set PROR_QTDE = PROR_QTDE - :RESERVADO where CODPRODUTORESERVA = :RESERVA;
          RESTA = RESTA - RESERVADO;
          USADO = USADO + RESERVADO;
        end
      if (USADO > 0) then
      begin
        update PRODUTO set PRO_ESTQ_RESERVADO = maxvalue(PRO_ESTQ_RESERVADO - :USADO, 0) where CODPRODUTO = :PRODUTO;
        insert into NFVENDA_RESERVA_BAIXADA (CODNFVENDA, CODSERIE, CODPEDVENDAITEM, CODPRODUTO, NFRB_QTDE)
        values (:CODNFVENDA, :CODSERIE, :PEDITEM, :PRODUTO, :USADO);
      end
    end
    if (RESTA <> 0) then
      insert into ESTOQUE_MOVIMENTO (CODESTOQUEMOVIMENTO, CODPRODUTO, ESTM_TIPO, ESTM_QTDE, ESTM_ORIGEM, ESTM_DOCUMENTO)
      values (gen_id(GEN_ESTOQUE_MOVIMENTO, 1), :PRODUTO, iif(:TIPO = 'E', 1, 2), :RESTA, :ORIGEM, :CODNFVENDA);
  end
end^

-- Undoes what billing posted: the invoice's net stock movement is reversed,
-- consumed reservations are given back, its receivables are written off.
create procedure STP_NFVENDA_ESTORNAR (CODNFVENDA integer, CODSERIE varchar(5))
as
declare variable ORIGEM varchar(30);
declare variable PRODUTO integer;
declare variable PEDITEM integer;
declare variable SAIDA numeric(18,4);
begin
  ORIGEM = 'NFVenda ' || CODSERIE;
  for select CODPRODUTO, sum(iif(ESTM_TIPO = 2, ESTM_QTDE, -ESTM_QTDE)) from ESTOQUE_MOVIMENTO
       where ESTM_ORIGEM = :ORIGEM and ESTM_DOCUMENTO = :CODNFVENDA
       group by CODPRODUTO
      into :PRODUTO, :SAIDA do
    if (SAIDA <> 0) then
      insert into ESTOQUE_MOVIMENTO (CODESTOQUEMOVIMENTO, CODPRODUTO, ESTM_TIPO, ESTM_QTDE, ESTM_ORIGEM, ESTM_DOCUMENTO)
      values (gen_id(GEN_ESTOQUE_MOVIMENTO, 1), :PRODUTO, iif(:SAIDA > 0, 1, 2), abs(:SAIDA), :ORIGEM, :CODNFVENDA);
  for select CODPEDVENDAITEM, CODPRODUTO, sum(NFRB_QTDE) from NFVENDA_RESERVA_BAIXADA
       where CODNFVENDA = :CODNFVENDA and CODSERIE = :CODSERIE
       group by CODPEDVENDAITEM, CODPRODUTO
      into :PEDITEM, :PRODUTO, :SAIDA do
  begin
    update PRODUTO_RESERVA set PROR_QTDE = PROR_QTDE + :SAIDA
     where CODPRODUTORESERVA = (select first 1 CODPRODUTORESERVA from PRODUTO_RESERVA
                                 where CODPRODUTO = :PRODUTO and CODPEDVENDAITEM = :PEDITEM
                                 order by CODPRODUTORESERVA);
    if (row_count > 0) then
      update PRODUTO set PRO_ESTQ_RESERVADO = PRO_ESTQ_RESERVADO + :SAIDA where CODPRODUTO = :PRODUTO;
  end
  delete from NFVENDA_RESERVA_BAIXADA where CODNFVENDA = :CODNFVENDA and CODSERIE = :CODSERIE;
  update CONTAS set CON_STATUS = 'EXCLUÍDA'
   where CODNFVENDA = :CODNFVENDA and CODSERIE = :CODSERIE and CON_STATUS <> 'EXCLUÍDA';
end^

create procedure STP_NFVENDA_CANCELA (CODNFVENDA integer, CODSERIE varchar(5), LOTE char(1))
as
begin
  update NFVENDA set NFV_STATUS = 'Cancelada'
   where CODNFVENDA = :CODNFVENDA and CODSERIE = :CODSERIE and NFV_STATUS = 'Faturada';
  if (row_count = 0) then
    exception E_NFVENDA_SITUACAO 'A Nota Fiscal ' || :CODNFVENDA || ' - Série ' || :CODSERIE || ' não está Faturada.';
  execute procedure STP_NFVENDA_ESTORNAR(:CODNFVENDA, :CODSERIE);
end^

create procedure STP_NFVENDA_REABRIR (CODNFVENDA integer, CODSERIE varchar(5), LOTE char(1))
as
begin
  update NFVENDA set NFV_STATUS = 'Aberta', NFV_DATA_FATURAMENTO = null, NFV_USUARIO_FATURAMENTO = null,
                     CODCAIXAABERTURA = null
   where CODNFVENDA = :CODNFVENDA and CODSERIE = :CODSERIE and NFV_STATUS in ('Faturada', 'Cancelada');
  if (row_count = 0) then
    exception E_NFVENDA_SITUACAO
      'A Nota Fiscal ' || :CODNFVENDA || ' - Série ' || :CODSERIE || ' não está Faturada nem Cancelada.';
  execute procedure STP_NFVENDA_ESTORNAR(:CODNFVENDA, :CODSERIE);
end^

set term ; ^
