-- Restaurant orders, waiters, parameters, print queue and kitchen rows, and
-- the procedures the restaurant screens call.
--
-- What the database keeps by itself (so every terminal and every procedure
-- sees the same state, whoever wrote the rows):
-- * PED_TOTAL is the sum of PEDI_TOTAL of the order's "NORMAL" item rows
--   (personalisation lines included); the item trigger recomputes it in the
--   transaction that changes the items, and stamps PED_DT_ULT_MOV (every
--   movement: posting, cancelling, transferring) and the order's CODGARCON
--   (waiter of the last item posted, when it has one).
-- * A table reads "EM USO" while it has an "ABERTO" order and "LIVRE" when
--   the last one is closed, cancelled, moved away or removed (order trigger);
--   CON_STATUS is never null. "CANCELADO" tables are left alone.
-- * At most one "ABERTO" order per table: a unique index on an expression
--   that is null for any other status (nulls never collide). Of two terminals
--   opening a free table at once, the second insert is refused and the
--   program joins the order that won.
-- Stored statuses of orders that are no longer open: "CANCELADO"
-- (STP_RES_CANCELAR), "TRANSF" (an order whose items all moved to an open
-- order of another table, STP_RES_TRANS); the closing sale sets its own.

create exception E_RESTAURANTE 'Operação de restaurante recusada';

-- The tables and tabs: never without a status.
update RES_CONTROLE set CON_STATUS = 'LIVRE' where CON_STATUS is null or trim(CON_STATUS) = '';
alter table RES_CONTROLE alter CON_STATUS set default 'LIVRE';
alter table RES_CONTROLE alter CON_STATUS set not null;

create table RES_GARCON (
    CODGARCON      integer not null primary key,
    GAR_NOME       varchar(60) not null,
    GAR_SENHA      varchar(20),
    GAR_PERC       numeric(18,4) default 0,
    GAN_ENTREGADOR char(1) default 'N'
);
create generator GEN_RES_GARCON;

create table PAR_RESTAURANTE (
    CODPARRESTAURANTE      integer not null primary key,
    PARR_TRABALHAR_REST    char(1) default 'S',
    PARR_CONTROLE_NOME     varchar(30) default 'Mesas',
    PARR_VLR_SERVICO       numeric(18,4) default 0,
    PARR_VLR_COVERT        numeric(18,4) default 0,
    PARR_IMP_COZINHA       varchar(200) default 'GERENCIADOR',
    PARR_IMP_BAR           varchar(200) default 'GERENCIADOR',
    PARR_IMP_PIZZA         varchar(200) default 'GERENCIADOR',
    PARR_IMP_CHURRASQUEIRA varchar(200) default 'GERENCIADOR',
    PARR_IMP_EXTRATO       varchar(200) default 'GERENCIADOR',
    PARR_IMPRIMIR_IEIM     char(1) default 'N',
    PARR_SELECIONAR_GARCON char(1) default 'N',
    PARR_CODPESQ_VENDA     char(1) default 'N',
    PARR_SOMENTE_DURACAO   char(1) default 'N'
);
create generator GEN_PAR_RESTAURANTE;

create table RES_PEDIDO (
    CODPEDIDO       integer not null primary key,
    CODCONTROLE     integer not null references RES_CONTROLE,
    PED_STATUS      varchar(10) not null,
    PED_DATA        timestamp not null,
    PED_TOTAL       numeric(18,4) default 0,
    CODGARCON       integer,
    PED_QTDE_COVERT integer default 0,
    PED_IMPRESSO    char(1) default 'N',
    PED_DESC_VLR    numeric(18,4) default 0,
    PED_ACRESCIMO   numeric(18,4) default 0,
    PED_DATA_FINAL  timestamp,
    PED_QTDE_PESSOA integer default 1,
    PED_DT_ULT_MOV  timestamp,
    PED_MD5         varchar(32),
    PED_TOTPROD     numeric(18,4),
    PED_COO         integer,
    PED_NUMECF      integer,
    PED_CER         integer,
    CODPESSOA       integer
);
create generator GEN_RES_PEDIDO;
create unique index UNQ_RES_PEDIDO_ABERTO on RES_PEDIDO
    computed by (case when PED_STATUS = 'ABERTO' then CODCONTROLE end);
create index IDX_RES_PEDIDO_STATUS on RES_PEDIDO (PED_STATUS);

create table RES_PEDIDO_ITEM (
    CODPEDIDOITEM        integer not null primary key,
    CODPEDIDO            integer not null references RES_PEDIDO,
    CODPRODUTO           integer not null references PRODUTO,
    CODPESQUISA          varchar(20),
    CODGARCON            integer,
    PEDI_QTDE            numeric(18,4) check (PEDI_QTDE is null or PEDI_QTDE >= 0),
    PEDI_VLRUNIT         numeric(18,4),
    PEDI_TOTAL           numeric(18,4),
    PEDI_STATUS          varchar(10) not null check (PEDI_STATUS in ('NORMAL', 'CANCELADO')),
    PEDI_LAN_USUARIO     varchar(30),
    PEDI_LAN_DATA        timestamp,
    PEDI_CAN_USUARIO     varchar(30),
    PEDI_CAN_MOTIVO      varchar(100),
    PEDI_CAN_DATA        timestamp,
    PEDI_OBS             varchar(100),
    AUX                  char(1),
    CODPEDIDOITEM_PERSON integer,
    CODCONTROLE_ORIGEM   integer
);
create generator GEN_RES_PEDIDO_ITEM;
create index IDX_RES_PEDIDO_ITEM_PERSON on RES_PEDIDO_ITEM (CODPEDIDOITEM_PERSON);

create table RES_PEDIDO_CONTA (
    CODPEDIDOCONTA integer not null primary key,
    CODPEDIDO      integer not null references RES_PEDIDO,
    CODMOEDA       integer,
    PEDC_VALOR     numeric(18,4)
);
create generator GEN_RES_PEDIDO_CONTA;

-- The item key is not a foreign key: the item and its options are applied by
-- separate record sets, and removing an item takes its options by procedure.
create table RES_PEDIDO_ITEM_PERSO (
    CODRESPEDIDOITEMPERSO  integer not null primary key,
    CODPEDIDOITEM          integer,
    CODPRODUTO             integer,
    CODGRUPOPERSONALIZACAO integer,
    PEDI_VLRUNIT           numeric(18,4),
    CODPEDIDO              integer
);
create generator GEN_RES_PEDIDO_ITEM_PERSO;
create index IDX_RES_PEDIDO_ITEM_PERSO_ITEM on RES_PEDIDO_ITEM_PERSO (CODPEDIDOITEM);
create index IDX_RES_PEDIDO_ITEM_PERSO_PED on RES_PEDIDO_ITEM_PERSO (CODPEDIDO);

-- Kitchen preparation rows of restaurant items and of sale orders
-- (RESPC_PEDVENDA = 'S': CODPEDVENDA and its item CODRESPEDIDOITEM).
create table RES_PEDIDO_COZINHA (
    CODRESPEDIDOCOZINHA integer not null primary key,
    CODPEDIDO           integer,
    CODPEDIDOITEM       integer,
    CODPEDVENDA         integer,
    CODRESPEDIDOITEM    integer,
    RESPC_PEDVENDA      char(1) default 'N',
    RESPC_STATUS        varchar(20) default 'PENDENTE',
    RESPC_DT_CAD        timestamp default current_timestamp,
    RESPC_DT_ATENDIDO   timestamp
);
create generator GEN_RES_PEDIDO_COZINHA;
create index IDX_RES_PEDIDO_COZINHA_PEDV on RES_PEDIDO_COZINHA (CODPEDVENDA);

-- The central print queue: one row per ticket, read by the print service.
create table RES_IMPRESSAO (
    CODRESIMPRESSAO    integer not null primary key,
    IMP_USUARIO        varchar(20),
    IMP_CENTRALIZADOR  varchar(25) not null,
    IMP_TEXTO          blob sub_type text,
    CODCONTROLE        integer,
    IMP_TITULO         varchar(40),
    IMP_DATA           timestamp default current_timestamp not null,
    IMP_STATUS         varchar(10) default 'PENDENTE' not null,
    IMP_DATA_IMPRESSO  timestamp
);
create generator GEN_RES_IMPRESSAO;
create index IDX_RES_IMPRESSAO_FILA on RES_IMPRESSAO (IMP_STATUS, IMP_CENTRALIZADOR);

-- Movements of a tab's prepaid balance (kind 1 credit, 2 debit).
create table RES_CONTROLE_MOVIMENTACAO (
    CODCONTROLEMOVIMENTACAO integer not null primary key,
    CODCONTROLE   integer not null references RES_CONTROLE,
    RCM_TIPO      smallint not null check (RCM_TIPO in (1, 2)),
    RCM_VALOR     numeric(18,4) not null,
    RCM_HISTORICO varchar(100),
    RCM_DATA      timestamp default current_timestamp not null,
    RCM_SALDO     numeric(18,4)
);
create generator GEN_RES_CONTROLE_MOVIMENTACAO;

-- Who moved what between tables, when and why.
create table RES_TRANSFERENCIA (
    CODRESTRANSFERENCIA integer not null primary key,
    CODPEDIDOITEM       integer,
    CODPEDIDO_ORIGEM    integer,
    CODPEDIDO_DESTINO   integer,
    CODCONTROLE_ORIGEM  integer,
    CODCONTROLE_DESTINO integer,
    RTR_QTDE            numeric(18,4),
    RTR_DATA            timestamp,
    RTR_USUARIO         varchar(30),
    RTR_MOTIVO          varchar(100)
);
create generator GEN_RES_TRANSFERENCIA;
commit;

set term ^ ;

create trigger TRG_RES_CONTROLE_STATUS for RES_CONTROLE before insert or update as
begin
  if (new.CON_STATUS is null or trim(new.CON_STATUS) = '') then
    new.CON_STATUS = 'LIVRE';
end^

-- Recomputes an order's total from its items and stamps the movement.
create procedure STP_RES_PEDIDO_TOTAL (CODPEDIDO integer, CODGARCON integer)
as
declare variable soma numeric(18,4);
begin
  select coalesce(sum(i.PEDI_TOTAL), 0) from RES_PEDIDO_ITEM i
   where i.CODPEDIDO = :CODPEDIDO and i.PEDI_STATUS = 'NORMAL' into :soma;
  update RES_PEDIDO p set p.PED_TOTAL = :soma, p.PED_DT_ULT_MOV = cast('NOW' as timestamp),
         p.CODGARCON = iif(coalesce(:CODGARCON, 0) > 0, :CODGARCON, p.CODGARCON)
   where p.CODPEDIDO = :CODPEDIDO;
end^

create trigger TRG_RES_PEDIDO_ITEM_TOTAL for RES_PEDIDO_ITEM after insert or update or delete as
begin
  if (not deleting) then
    execute procedure STP_RES_PEDIDO_TOTAL(new.CODPEDIDO, iif(inserting, new.CODGARCON, null));
  if (deleting or (updating and new.CODPEDIDO <> old.CODPEDIDO)) then
    execute procedure STP_RES_PEDIDO_TOTAL(old.CODPEDIDO, null);
end^

create trigger TRG_RES_PEDIDO_BI for RES_PEDIDO before insert as
begin
  -- a new order has no items yet
  new.PED_TOTAL = 0;
  if (new.PED_DT_ULT_MOV is null) then
    new.PED_DT_ULT_MOV = cast('NOW' as timestamp);
end^

-- Table status follows its open order.
create trigger TRG_RES_PEDIDO_MESA for RES_PEDIDO after insert or update or delete as
begin
  if (not deleting and new.PED_STATUS = 'ABERTO') then
    update RES_CONTROLE c set c.CON_STATUS = 'EM USO'
     where c.CODCONTROLE = new.CODCONTROLE and c.CON_STATUS not in ('EM USO', 'CANCELADO');
  if (not inserting and old.PED_STATUS = 'ABERTO') then
    if (deleting or new.PED_STATUS <> 'ABERTO' or new.CODCONTROLE <> old.CODCONTROLE) then
      if (not exists (select 1 from RES_PEDIDO p where p.CODCONTROLE = old.CODCONTROLE
                         and p.PED_STATUS = 'ABERTO')) then
        update RES_CONTROLE c set c.CON_STATUS = 'LIVRE'
         where c.CODCONTROLE = old.CODCONTROLE and c.CON_STATUS = 'EM USO';
end^

-- The open order of a table (null when it has none).
create procedure STP_RES_PEDIDO_ABERTO (CODCONTROLE integer)
returns (CODPEDIDO integer)
as
begin
  CODPEDIDO = null;
  select first 1 p.CODPEDIDO from RES_PEDIDO p
   where p.CODCONTROLE = :CODCONTROLE and p.PED_STATUS = 'ABERTO' into :CODPEDIDO;
  suspend;
end^

-- Brings a table's status and its open order's total in line with the rows:
-- "EM USO" with an open order, "LIVRE" without (a cancelled table stays so).
-- Run before a screen reads the table's open order.
create procedure STP_REST_AVALIA_CONTROLE (CODCONTROLE integer)
as
declare variable pedido integer;
declare variable soma numeric(18,4);
begin
  select CODPEDIDO from STP_RES_PEDIDO_ABERTO(:CODCONTROLE) into :pedido;
  if (pedido is not null) then
  begin
    update RES_CONTROLE c set c.CON_STATUS = 'EM USO'
     where c.CODCONTROLE = :CODCONTROLE and c.CON_STATUS not in ('EM USO', 'CANCELADO');
    select coalesce(sum(i.PEDI_TOTAL), 0) from RES_PEDIDO_ITEM i
     where i.CODPEDIDO = :pedido and i.PEDI_STATUS = 'NORMAL' into :soma;
    update RES_PEDIDO p set p.PED_TOTAL = :soma
     where p.CODPEDIDO = :pedido and p.PED_TOTAL is distinct from :soma;
  end
  else
    update RES_CONTROLE c set c.CON_STATUS = 'LIVRE'
     where c.CODCONTROLE = :CODCONTROLE and c.CON_STATUS = 'EM USO';
end^

-- After a posting was left without saving: an open order that holds no item
-- and no payment (written at once when its first item was added, then
-- abandoned) is removed, which frees the table; then the table is evaluated.
-- Without an order number the table's open order is checked.
create procedure STP_RES_PEDIDO_VERIFICAR (CODPEDIDO integer, CODCONTROLE integer)
as
declare variable pedido integer;
declare variable mesa integer;
begin
  pedido = null;
  mesa = :CODCONTROLE;
  if (coalesce(:CODPEDIDO, 0) > 0) then
    select p.CODPEDIDO, p.CODCONTROLE from RES_PEDIDO p
     where p.CODPEDIDO = :CODPEDIDO and p.PED_STATUS = 'ABERTO' into :pedido, :mesa;
  else
    select CODPEDIDO from STP_RES_PEDIDO_ABERTO(:CODCONTROLE) into :pedido;
  if (pedido is not null
      and not exists (select 1 from RES_PEDIDO_ITEM i where i.CODPEDIDO = :pedido)
      and not exists (select 1 from RES_PEDIDO_CONTA c where c.CODPEDIDO = :pedido)) then
  begin
    delete from RES_PEDIDO_ITEM_PERSO o where o.CODPEDIDO = :pedido;
    delete from RES_PEDIDO p where p.CODPEDIDO = :pedido;
  end
  if (mesa is not null) then
    execute procedure STP_REST_AVALIA_CONTROLE(:mesa);
end^

-- True (1) when the table is listed in RES.MESA.NOESTQ: its cancellation
-- does not give the stock back. The key holds one table number ("0": none)
-- or several separated by "," or ";".
create procedure STP_RES_MESA_SEM_ESTOQUE (CODCONTROLE integer)
returns (SIM smallint)
as
declare variable lista varchar(1000);
begin
  lista = null;
  select c.CFG_VALOR from CONFIGURACAO c where c.CFG_CHAVE = 'RES.MESA.NOESTQ' into :lista;
  lista = ',' || replace(replace(coalesce(lista, ''), ';', ','), ' ', '') || ',';
  SIM = iif(position(',' || :CODCONTROLE || ',' in lista) > 0, 1, 0);
  suspend;
end^

-- Cancels the whole movement of a table: every "NORMAL" item of the open
-- order becomes "CANCELADO" (user, moment), its stock goes back (entry,
-- origin "ResPedido", document = order) unless the table is listed in
-- RES.MESA.NOESTQ, and the order becomes "CANCELADO" (which frees the table).
create procedure STP_RES_CANCELAR (CODPEDIDO integer, USUARIO varchar(30), DATA timestamp)
as
declare variable mesa integer;
declare variable situacao varchar(10);
declare variable produto integer;
declare variable qtde numeric(18,4);
declare variable sem_estoque smallint;
begin
  mesa = null;
  select p.CODCONTROLE, p.PED_STATUS from RES_PEDIDO p where p.CODPEDIDO = :CODPEDIDO into :mesa, :situacao;
  if (mesa is null) then
    exception E_RESTAURANTE 'Pedido não encontrado! (Pedido=' || coalesce(cast(:CODPEDIDO as varchar(12)), '') || ')';
  if (situacao <> 'ABERTO') then
    exception E_RESTAURANTE 'Mesa não está aberta! (Pedido=' || :CODPEDIDO || ')';
  select SIM from STP_RES_MESA_SEM_ESTOQUE(:mesa) into :sem_estoque;
  if (sem_estoque = 0) then
    for select i.CODPRODUTO, i.PEDI_QTDE from RES_PEDIDO_ITEM i
         where i.CODPEDIDO = :CODPEDIDO and i.PEDI_STATUS = 'NORMAL' and i.PEDI_QTDE > 0
          into :produto, :qtde do
      insert into ESTOQUE_MOVIMENTO (CODESTOQUEMOVIMENTO, CODPRODUTO, ESTM_TIPO, ESTM_QTDE, ESTM_ORIGEM, ESTM_DOCUMENTO)
      values (gen_id(GEN_ESTOQUE_MOVIMENTO, 1), :produto, 1, :qtde, 'ResPedido', :CODPEDIDO);
  update RES_PEDIDO_ITEM i set i.PEDI_STATUS = 'CANCELADO', i.PEDI_CAN_USUARIO = :USUARIO,
         i.PEDI_CAN_DATA = coalesce(:DATA, cast('NOW' as timestamp)),
         i.PEDI_CAN_MOTIVO = coalesce(i.PEDI_CAN_MOTIVO, 'CANCELAMENTO DA MESA')
   where i.CODPEDIDO = :CODPEDIDO and i.PEDI_STATUS = 'NORMAL';
  update RES_PEDIDO p set p.PED_STATUS = 'CANCELADO', p.PED_DATA_FINAL = coalesce(:DATA, cast('NOW' as timestamp))
   where p.CODPEDIDO = :CODPEDIDO;
end^

-- The table must exist and not be cancelled.
create procedure STP_RES_VERIFICA_DESTINO (CODCONTROLE integer)
as
begin
  if (not exists (select 1 from RES_CONTROLE c where c.CODCONTROLE = :CODCONTROLE
                     and c.CON_STATUS <> 'CANCELADO')) then
    exception E_RESTAURANTE 'A Mesa(' || coalesce(cast(:CODCONTROLE as varchar(12)), '') || ') não está correta, tente outra!';
end^

-- The open order of a table, created with the new-order defaults when it has
-- none (service percentage when the table charges it).
create procedure STP_RES_PEDIDO_DESTINO (CODCONTROLE integer, DATA timestamp, CODGARCON integer)
returns (CODPEDIDO integer)
as
declare variable servico numeric(18,4);
begin
  select CODPEDIDO from STP_RES_PEDIDO_ABERTO(:CODCONTROLE) into :CODPEDIDO;
  if (CODPEDIDO is null) then
  begin
    servico = 0;
    if (exists (select 1 from RES_CONTROLE c where c.CODCONTROLE = :CODCONTROLE
                   and coalesce(c.CON_COBRAR_SERVICO, 'N') = 'S')) then
      select first 1 coalesce(r.PARR_VLR_SERVICO, 0) from PAR_RESTAURANTE r
       order by r.CODPARRESTAURANTE into :servico;
    CODPEDIDO = gen_id(GEN_RES_PEDIDO, 1);
    insert into RES_PEDIDO (CODPEDIDO, CODCONTROLE, PED_STATUS, PED_DATA, PED_TOTAL, CODGARCON, PED_QTDE_COVERT,
                            PED_IMPRESSO, PED_DESC_VLR, PED_ACRESCIMO, PED_QTDE_PESSOA)
    values (:CODPEDIDO, :CODCONTROLE, 'ABERTO', coalesce(:DATA, cast('NOW' as timestamp)), 0, :CODGARCON, 0,
            'N', 0, coalesce(:servico, 0), 1);
  end
  suspend;
end^

-- Moves a table's open order to another table. A free destination takes the
-- order itself; a destination with an open order receives its items,
-- options and payments (and its couverts and discount), and the emptied
-- order is closed as "TRANSF". Items not yet transferred record the origin
-- table in CODCONTROLE_ORIGEM.
create procedure STP_RES_TRANS (ORIGEM integer, DESTINO integer, DATA timestamp, USUARIO varchar(30))
as
declare variable pedido_origem integer;
declare variable pedido_destino integer;
begin
  if (:ORIGEM = :DESTINO) then
    exception E_RESTAURANTE 'Mesa destino não pode ser a mesa origem, tente novamente';
  execute procedure STP_RES_VERIFICA_DESTINO(:DESTINO);
  select CODPEDIDO from STP_RES_PEDIDO_ABERTO(:ORIGEM) into :pedido_origem;
  if (pedido_origem is null) then
    exception E_RESTAURANTE 'A Mesa(' || :ORIGEM || ') não tem movimentação, tente outra!';
  select CODPEDIDO from STP_RES_PEDIDO_ABERTO(:DESTINO) into :pedido_destino;

  update RES_PEDIDO_ITEM i set i.CODCONTROLE_ORIGEM = :ORIGEM
   where i.CODPEDIDO = :pedido_origem and coalesce(i.CODCONTROLE_ORIGEM, 0) = 0;
  if (pedido_destino is null) then
    update RES_PEDIDO p set p.CODCONTROLE = :DESTINO, p.PED_DT_ULT_MOV = cast('NOW' as timestamp)
     where p.CODPEDIDO = :pedido_origem;
  else
  begin
    update RES_PEDIDO_ITEM i set i.CODPEDIDO = :pedido_destino where i.CODPEDIDO = :pedido_origem;
    update RES_PEDIDO_ITEM_PERSO o set o.CODPEDIDO = :pedido_destino where o.CODPEDIDO = :pedido_origem;
    update RES_PEDIDO_CONTA c set c.CODPEDIDO = :pedido_destino where c.CODPEDIDO = :pedido_origem;
    update RES_PEDIDO d set
           d.PED_QTDE_COVERT = coalesce(d.PED_QTDE_COVERT, 0) +
             (select coalesce(o.PED_QTDE_COVERT, 0) from RES_PEDIDO o where o.CODPEDIDO = :pedido_origem),
           d.PED_DESC_VLR = coalesce(d.PED_DESC_VLR, 0) +
             (select coalesce(o.PED_DESC_VLR, 0) from RES_PEDIDO o where o.CODPEDIDO = :pedido_origem)
     where d.CODPEDIDO = :pedido_destino;
    update RES_PEDIDO p set p.PED_STATUS = 'TRANSF', p.PED_DATA_FINAL = coalesce(:DATA, cast('NOW' as timestamp))
     where p.CODPEDIDO = :pedido_origem;
  end
  insert into RES_TRANSFERENCIA (CODRESTRANSFERENCIA, CODPEDIDO_ORIGEM, CODPEDIDO_DESTINO, CODCONTROLE_ORIGEM,
                                 CODCONTROLE_DESTINO, RTR_DATA, RTR_USUARIO)
  values (gen_id(GEN_RES_TRANSFERENCIA, 1), :pedido_origem, coalesce(:pedido_destino, :pedido_origem), :ORIGEM,
          :DESTINO, coalesce(:DATA, cast('NOW' as timestamp)), :USUARIO);
end^

-- Moves QTDE of one item to the open order of another table (created when
-- the table has none). The whole quantity moves the row itself with its
-- personalisation lines and options; part of it splits the item: the origin
-- keeps the rest, the destination gets a new row of QTDE (its personalisation
-- lines split in the same proportion, its options copied). The moved row
-- records the origin table in CODCONTROLE_ORIGEM. Stock does not move.
create procedure STP_RES_TRANS_ITEM_MOTIVO (CODPEDIDOITEM integer, DESTINO integer, DATA timestamp,
                                            USUARIO varchar(30), QTDE numeric(18,4), MOTIVO varchar(100))
as
declare variable pedido_origem integer;
declare variable pedido_destino integer;
declare variable origem integer;
declare variable situacao varchar(10);
declare variable item_status varchar(10);
declare variable item_qtde numeric(18,4);
declare variable dono integer;
declare variable garcon integer;
declare variable novo integer;
declare variable linha integer;
declare variable linha_qtde numeric(18,4);
declare variable parte numeric(18,4);
begin
  pedido_origem = null;
  select i.CODPEDIDO, i.PEDI_STATUS, i.PEDI_QTDE, coalesce(i.CODPEDIDOITEM_PERSON, 0), i.CODGARCON
    from RES_PEDIDO_ITEM i where i.CODPEDIDOITEM = :CODPEDIDOITEM
    into :pedido_origem, :item_status, :item_qtde, :dono, :garcon;
  if (pedido_origem is null) then
    exception E_RESTAURANTE 'Nenhum item! (Item=' || coalesce(cast(:CODPEDIDOITEM as varchar(12)), '') || ')';
  select p.CODCONTROLE, p.PED_STATUS from RES_PEDIDO p where p.CODPEDIDO = :pedido_origem into :origem, :situacao;
  if (situacao <> 'ABERTO') then
    exception E_RESTAURANTE 'Mesa não está aberta!';
  if (item_status = 'CANCELADO') then
    exception E_RESTAURANTE 'Item CANCELADO!';
  if (dono <> 0) then
    exception E_RESTAURANTE 'Você só pode mexer no produto e não na personalização!';
  if (:QTDE is null or :QTDE <= 0 or :QTDE > item_qtde) then
    exception E_RESTAURANTE 'Quantidade invalida!';
  if (:DESTINO = origem) then
    exception E_RESTAURANTE 'Mesa destino não pode ser a mesa origem, tente novamente';
  execute procedure STP_RES_VERIFICA_DESTINO(:DESTINO);
  select CODPEDIDO from STP_RES_PEDIDO_DESTINO(:DESTINO, :DATA, :garcon) into :pedido_destino;

  if (:QTDE = item_qtde) then
  begin
    novo = :CODPEDIDOITEM;
    update RES_PEDIDO_ITEM i set i.CODPEDIDO = :pedido_destino, i.CODCONTROLE_ORIGEM = :origem
     where i.CODPEDIDOITEM = :CODPEDIDOITEM or i.CODPEDIDOITEM_PERSON = :CODPEDIDOITEM;
    update RES_PEDIDO_ITEM_PERSO o set o.CODPEDIDO = :pedido_destino where o.CODPEDIDOITEM = :CODPEDIDOITEM;
  end
  else
  begin
    novo = gen_id(GEN_RES_PEDIDO_ITEM, 1);
    insert into RES_PEDIDO_ITEM (CODPEDIDOITEM, CODPEDIDO, CODPRODUTO, CODPESQUISA, CODGARCON, PEDI_QTDE, PEDI_VLRUNIT,
                                 PEDI_TOTAL, PEDI_STATUS, PEDI_LAN_USUARIO, PEDI_LAN_DATA, PEDI_OBS, AUX,
                                 CODPEDIDOITEM_PERSON, CODCONTROLE_ORIGEM)
    select :novo, :pedido_destino, i.CODPRODUTO, i.CODPESQUISA, i.CODGARCON, :QTDE, i.PEDI_VLRUNIT,
           cast(:QTDE * i.PEDI_VLRUNIT as numeric(18,4)), 'NORMAL', i.PEDI_LAN_USUARIO, i.PEDI_LAN_DATA, i.PEDI_OBS,
           i.AUX, null, :origem
      from RES_PEDIDO_ITEM i where i.CODPEDIDOITEM = :CODPEDIDOITEM;
    update RES_PEDIDO_ITEM i set i.PEDI_QTDE = i.PEDI_QTDE - :QTDE,
           i.PEDI_TOTAL = cast((i.PEDI_QTDE - :QTDE) * i.PEDI_VLRUNIT as numeric(18,4))
     where i.CODPEDIDOITEM = :CODPEDIDOITEM;
    for select l.CODPEDIDOITEM, l.PEDI_QTDE from RES_PEDIDO_ITEM l
         where l.CODPEDIDOITEM_PERSON = :CODPEDIDOITEM and l.PEDI_STATUS = 'NORMAL'
          into :linha, :linha_qtde do
    begin
      parte = cast(cast(coalesce(:linha_qtde, 0) * :QTDE as numeric(18,4)) / :item_qtde as numeric(18,4));
      insert into RES_PEDIDO_ITEM (CODPEDIDOITEM, CODPEDIDO, CODPRODUTO, CODPESQUISA, CODGARCON, PEDI_QTDE,
                                   PEDI_VLRUNIT, PEDI_TOTAL, PEDI_STATUS, PEDI_LAN_USUARIO, PEDI_LAN_DATA, PEDI_OBS,
                                   AUX, CODPEDIDOITEM_PERSON, CODCONTROLE_ORIGEM)
      select gen_id(GEN_RES_PEDIDO_ITEM, 1), :pedido_destino, l.CODPRODUTO, l.CODPESQUISA, l.CODGARCON, :parte,
             l.PEDI_VLRUNIT, cast(:parte * l.PEDI_VLRUNIT as numeric(18,4)), 'NORMAL', l.PEDI_LAN_USUARIO,
             l.PEDI_LAN_DATA, l.PEDI_OBS, l.AUX, :novo, :origem
        from RES_PEDIDO_ITEM l where l.CODPEDIDOITEM = :linha;
      update RES_PEDIDO_ITEM l set l.PEDI_QTDE = l.PEDI_QTDE - :parte,
             l.PEDI_TOTAL = cast((l.PEDI_QTDE - :parte) * l.PEDI_VLRUNIT as numeric(18,4))
       where l.CODPEDIDOITEM = :linha;
    end
    insert into RES_PEDIDO_ITEM_PERSO (CODRESPEDIDOITEMPERSO, CODPEDIDOITEM, CODPRODUTO, CODGRUPOPERSONALIZACAO,
                                       PEDI_VLRUNIT, CODPEDIDO)
    select gen_id(GEN_RES_PEDIDO_ITEM_PERSO, 1), :novo, o.CODPRODUTO, o.CODGRUPOPERSONALIZACAO, o.PEDI_VLRUNIT,
           :pedido_destino
      from RES_PEDIDO_ITEM_PERSO o where o.CODPEDIDOITEM = :CODPEDIDOITEM;
  end
  update RES_PEDIDO p set p.PED_DT_ULT_MOV = cast('NOW' as timestamp) where p.CODPEDIDO = :pedido_origem;
  insert into RES_TRANSFERENCIA (CODRESTRANSFERENCIA, CODPEDIDOITEM, CODPEDIDO_ORIGEM, CODPEDIDO_DESTINO,
                                 CODCONTROLE_ORIGEM, CODCONTROLE_DESTINO, RTR_QTDE, RTR_DATA, RTR_USUARIO, RTR_MOTIVO)
  values (gen_id(GEN_RES_TRANSFERENCIA, 1), :novo, :pedido_origem, :pedido_destino, :origem, :DESTINO, :QTDE,
          coalesce(:DATA, cast('NOW' as timestamp)), :USUARIO, :MOTIVO);
end^

create procedure STP_RES_TRANS_ITEM (CODPEDIDOITEM integer, DESTINO integer, DATA timestamp, USUARIO varchar(30),
                                     QTDE numeric(18,4))
as
begin
  execute procedure STP_RES_TRANS_ITEM_MOTIVO(:CODPEDIDOITEM, :DESTINO, :DATA, :USUARIO, :QTDE, null);
end^

-- The table map: every table that is not cancelled (only those in use when
-- RES.MESA.ABE is "S"), with its open order. The status shown follows the
-- open order, whatever the stored one says.
create procedure STP_RES_MENU_RESTAURANTE_TELA
returns (CODCONTROLE integer, CON_STATUS varchar(10), PED_IMPRESSO char(1), DT_ULT_MOV timestamp,
         DATAATUAL timestamp, CODPEDIDO integer)
as
declare variable somente_abertas char(1);
begin
  somente_abertas = 'N';
  select first 1 upper(trim(c.CFG_VALOR)) from CONFIGURACAO c where c.CFG_CHAVE = 'RES.MESA.ABE'
    into :somente_abertas;
  DATAATUAL = cast('NOW' as timestamp);
  for select c.CODCONTROLE, c.CON_STATUS, p.PED_IMPRESSO, coalesce(p.PED_DT_ULT_MOV, p.PED_DATA), p.CODPEDIDO
        from RES_CONTROLE c
        left join RES_PEDIDO p on p.CODCONTROLE = c.CODCONTROLE and p.PED_STATUS = 'ABERTO'
       where c.CON_STATUS <> 'CANCELADO'
       order by c.CODCONTROLE
        into :CODCONTROLE, :CON_STATUS, :PED_IMPRESSO, :DT_ULT_MOV, :CODPEDIDO do
  begin
    if (CODPEDIDO is not null) then
      CON_STATUS = 'EM USO';
    else if (CON_STATUS = 'EM USO') then
      CON_STATUS = 'LIVRE';
    if (coalesce(somente_abertas, 'N') <> 'S' or CODPEDIDO is not null) then
      suspend;
  end
end^

-- Books a movement on a tab's prepaid balance: kind 1 adds VALOR, kind 2
-- takes it; the movement is recorded with the balance after it.
create procedure STP_RES_CONTROLE_MOVIMENTACAO (CODCONTROLE integer, VALOR numeric(18,4), TIPO integer,
                                                HISTORICO varchar(100))
as
declare variable saldo numeric(18,4);
begin
  if (coalesce(:TIPO, 0) not in (1, 2)) then
    exception E_RESTAURANTE 'Tipo de movimentação inválido: ' || coalesce(cast(:TIPO as varchar(12)), '');
  if (not exists (select 1 from RES_CONTROLE c where c.CODCONTROLE = :CODCONTROLE)) then
    exception E_RESTAURANTE 'Controle não encontrado! (Controle=' || coalesce(cast(:CODCONTROLE as varchar(12)), '') || ')';
  update RES_CONTROLE c set c.CON_SALDO = coalesce(c.CON_SALDO, 0) + iif(:TIPO = 1, :VALOR, -:VALOR)
   where c.CODCONTROLE = :CODCONTROLE;
  select c.CON_SALDO from RES_CONTROLE c where c.CODCONTROLE = :CODCONTROLE into :saldo;
  insert into RES_CONTROLE_MOVIMENTACAO (CODCONTROLEMOVIMENTACAO, CODCONTROLE, RCM_TIPO, RCM_VALOR, RCM_HISTORICO,
                                         RCM_SALDO)
  values (gen_id(GEN_RES_CONTROLE_MOVIMENTACAO, 1), :CODCONTROLE, :TIPO, :VALOR, :HISTORICO, :saldo);
end^

-- Queues one ticket for the central print service.
create procedure STP_REST_IMPRESSAO (IMP_USUARIO varchar(20), IMP_CENTRALIZADOR varchar(25),
                                     IMP_TEXTO blob sub_type text, CODCONTROLE integer, IMP_TITULO varchar(40))
returns (CODRESIMPRESSAO integer)
as
begin
  CODRESIMPRESSAO = gen_id(GEN_RES_IMPRESSAO, 1);
  insert into RES_IMPRESSAO (CODRESIMPRESSAO, IMP_USUARIO, IMP_CENTRALIZADOR, IMP_TEXTO, CODCONTROLE, IMP_TITULO)
  values (:CODRESIMPRESSAO, :IMP_USUARIO, :IMP_CENTRALIZADOR, :IMP_TEXTO, :CODCONTROLE, :IMP_TITULO);
  suspend;
end^

set term ; ^
