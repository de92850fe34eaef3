-- Demo shop. Safe to run again: rows are keyed.
update or insert into PAR_GERAL (CODEMPRESA, PARG_EMPRESA, PARG_FANTASIA, PARG_CPFCGC, PARG_IE, PARG_TELEFONE,
    PARG_ENDERECO, PARG_NUMERO, PARG_BAIRRO, PARG_CIDADE, PARG_COD_MUNICIPIO, PARG_UF, PARG_CEP)
values (1, 'KVO DEMONSTRACAO COMERCIO LTDA', 'Bar e Restaurante Demonstração', '11.222.333/0001-81',
    '123456789', '(11) 3333-4444', 'Rua das Laranjeiras', '100', 'Centro', 'São Paulo', 3550308, 'SP',
    '01001-000')
matching (CODEMPRESA);
