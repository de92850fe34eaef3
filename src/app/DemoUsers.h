#pragma once

namespace kvo {

class Database;

// The demo shop's users and rights (passwords are hashed, so they cannot sit
// in an SQL script): "Administrador" (admin), "caixa" and "garcom" (1234).
void carregarUsuariosDemo(Database& db);

} // namespace kvo
