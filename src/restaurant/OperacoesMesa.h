#pragma once

#include "core/Currency.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

namespace kvo {

class Database;
class TdmResPedido;

// The table-level rules of the order choice and transfer screens: what is
// checked, in which order, which questions are asked (through the
// user-interface port) and which procedure runs. The screens only collect
// the typed values and call these.
namespace mesas {

// --- statements of the restaurant procedures (values quoted, "." dates)
QString dataHoraProcedimento(const QDateTime& quando);
QString sqlTransferenciaItem(qint64 coditem, int destino, const QDateTime& quando, const QString& usuario,
                             Currency qtde, const QString& motivo);
QString sqlTransferenciaMesa(int origem, int destino, const QDateTime& quando, const QString& usuario);
QString sqlCancelarMesa(int codpedido, const QString& usuario, const QDateTime& quando);

// The business date with the time of day; stops when no cash register is open.
QDateTime momentoMovimento(TdmResPedido& dm);
QString usuarioAtual();

// A transfer or cancellation runs while another terminal may be saving the
// same table: its lock is waited for a few seconds, then the user is told
// that the table is busy. Nothing is half done: the statement is one call.
void executarProcedimento(Database& db, const QString& sql);

// --- the order choice screen
// The typed table: "Informe a mesa", "Informe um número de mesa válida!",
// "Mesa não está correta, tente novamente" (stopping warnings).
int conferirMesa(TdmResPedido& dm, const QString& texto);
// The waiter and his password: "Informe o código do Garçon", "Informe a
// senha", "Garçon/Senha não está correta, tente novamente".
int conferirGarcon(const QString& codigo, const QString& senha);
// STP_REST_AVALIA_CONTROLE, then the table's open order (0: none).
int pedidoAbertoAvaliado(TdmResPedido& dm, int mesa);
// Cancels the whole movement of a table (confirmation, password, bill,
// STP_RES_CANCELAR). False when the user gave up or was refused.
bool cancelarMesa(TdmResPedido& dm, int mesa);
// [F8]: the bill's choices for the table's open order, saved on it.
void alterarAcrescimo(TdmResPedido& dm, int mesa);
// Posting on a personal tab (1000 and over) needs its entry first.
void conferirEntradaLancada(TdmResPedido& dm, int mesa);

// The person of a personal tab, as the person panel shows it.
struct PessoaEntrada {
    int codigo = 0; // 0: a new person, registered with the entry
    QString ddd, celular, nome, rg;
    QString sexo; // "M" or "F"
    QDate nascimento;
};
// "Pesquisar": the person by mobile number (prefix) and area code.
std::optional<PessoaEntrada> pesquisarPessoa(TdmResPedido& dm, const QString& ddd, const QString& celular);
// The entry of a personal tab: a new order for the tab with one item of the
// entry product (RES.ENTR.PROD), the person registered when new.
void cobrarEntrada(TdmResPedido& dm, int mesa, PessoaEntrada& pessoa);

// --- the table transfer screen (checks in order; refusals before anything runs)
void transferirMesa(TdmResPedido& dm, const QString& origem, const QString& destino);

// A password kept under a configuration key, asked when set: "Por favor
// digite uma senha!" for an empty answer, "Senha inválida!" for another one.
void exigirSenhaDaChave(const QString& chave, const QString& prompt);

} // namespace mesas
} // namespace kvo
