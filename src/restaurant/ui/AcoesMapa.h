#pragma once

class QWidget;

namespace kvo {

class Database;
class Digest;
class FiscalPrinter;

// What both restaurant maps (classic and touch) check and do around their
// actions.
namespace acoesMapa {

// Posting, transfers, delivery and the table check run only with an open
// cash register when the shop works with openings (the host offers to open one).
bool caixaLiberado();
// The caller's fiscal printer when given and active, else the terminal's
// when active; null when none can be used.
FiscalPrinter* ecfAtiva(FiscalPrinter* dada);
// "Impressora (ECF) não disponível!" (stopping the action when
// `obrigatoria`), or "Aguarde impressora ocupada!" while it answers a
// command; true when the printer can be used.
bool avisarECF(FiscalPrinter* impressora, bool obrigatoria);
// The table check of `mesa` on the printer (refused without one), signed by
// `assinador` or the terminal's digest; its failures reach the user.
void imprimirConferencia(Database& db, int mesa, FiscalPrinter* impressora, Digest* assinador);
// The delivery screen, when this build has one.
void abrirDelivery();
// The screen's height less 210 and width less 20, centred, 45 units higher.
void posicionar(QWidget& mapa);

} // namespace acoesMapa
} // namespace kvo
