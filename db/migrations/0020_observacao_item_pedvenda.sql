-- The note of a sale-order item: the bill of a delivery or counter order
-- prints it under the item, as it does for a restaurant item.
alter table PEDVENDA_ITEM add PEDI_OBS varchar(100);
commit;
