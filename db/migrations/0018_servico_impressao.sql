-- The print service's bookkeeping on each row of the central print queue.
-- IMP_STATUS goes 'PENDENTE' -> 'IMPRIMINDO' (claimed by IMP_INSTANCIA at
-- IMP_DATA_REIVINDICADO) -> 'IMPRESSO' (IMP_DATA_IMPRESSO, on IMP_IMPRESSORA).
-- A row whose printing outcome is unknown goes back to 'PENDENTE' with
-- IMP_REIMPRESSAO = 'S', so its next copy carries the reprint mark.
alter table RES_IMPRESSAO add IMP_INSTANCIA varchar(40);
alter table RES_IMPRESSAO add IMP_DATA_REIVINDICADO timestamp;
alter table RES_IMPRESSAO add IMP_TENTATIVAS integer default 0;
alter table RES_IMPRESSAO add IMP_PRIMEIRA_FALHA timestamp;
alter table RES_IMPRESSAO add IMP_ULTIMO_ERRO varchar(200);
alter table RES_IMPRESSAO add IMP_REIMPRESSAO char(1) default 'N';
alter table RES_IMPRESSAO add IMP_IMPRESSORA varchar(100);
alter table RES_IMPRESSAO add IMP_VIAS integer default 0;
commit;
