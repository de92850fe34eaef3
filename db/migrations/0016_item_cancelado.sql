-- A cancelled item stays as it was cancelled: its status, quantity and
-- amounts cannot change any more. A terminal that read the item before
-- another one cancelled it (and now reduces or re-prices it) is refused with
-- the screens' own words instead of changing a row that no longer counts.
-- Moving it to another order (transfers) is still allowed.
set term ^ ;
create trigger TRG_RES_PEDIDO_ITEM_CANCELADO for RES_PEDIDO_ITEM before update as
begin
  if (old.PEDI_STATUS = 'CANCELADO' and (new.PEDI_STATUS is distinct from old.PEDI_STATUS
      or new.PEDI_QTDE is distinct from old.PEDI_QTDE or new.PEDI_VLRUNIT is distinct from old.PEDI_VLRUNIT
      or new.PEDI_TOTAL is distinct from old.PEDI_TOTAL)) then
    exception E_RESTAURANTE 'Item já CANCELADO!';
end^
set term ; ^
