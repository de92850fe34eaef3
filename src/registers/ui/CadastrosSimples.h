#pragma once

#include "registers/ui/UCadastroSimples.h"

namespace kvo::cadastro {

// The small registers a shop keeps besides persons and products.
const CadastroSimples& grupoProduto();
const CadastroSimples& subgrupoProduto();
const CadastroSimples& marca();
const CadastroSimples& grupoPessoa();
const CadastroSimples& moeda();
const CadastroSimples& banco();
const CadastroSimples& centroCusto();

// Each with the name its search screen is opened by ("TfrmMarca_Pesq"...).
QList<QPair<QString, const CadastroSimples*>> cadastrosSimples();

} // namespace kvo::cadastro
