#pragma once

#include "core/Currency.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace kvo {

class Database;

// What the table map shows for a table.
enum class EstadoMesa { Livre, Extrato, Parada, Atendimento };
inline constexpr std::array<EstadoMesa, 4> kEstadosMesa{EstadoMesa::Livre, EstadoMesa::Extrato, EstadoMesa::Parada,
                                                        EstadoMesa::Atendimento};

// "Livre", "Extrato", "Parada", "Atendimento".
QString nomeEstadoMesa(EstadoMesa estado);

// An in-use table idles after 0.0204 day without movement (1 762.56 s). The
// boundary itself is idle; compared in milliseconds so that no rounding of a
// fraction of a day moves a table across it.
inline constexpr qint64 kParadaMs = 1762560;
EstadoMesa estadoMesa(const QString& conStatus, const QString& impresso, const QDateTime& ultimoMovimento,
                      const QDateTime& agora);

struct CelulaMesa {
    int codcontrole = 0;
    QString status;
    EstadoMesa estado = EstadoMesa::Livre;
    int codpedido = 0;
};

// The paged table map (VerificarControles) without its widgets: the grid the
// screen fits, the page read from STP_RES_MENU_RESTAURANTE_TELA, the page
// label and the legend counts.
class MapaMesas {
public:
    static constexpr int kRecontar = 99; // a full refresh: recount, back to the first page

    explicit MapaMesas(Database& db) : m_db(db) {}

    // Whole cells of `celula` that fit in `espaco` (at least one).
    static int quantasCabem(int espaco, int celula);
    void setGrade(int colunas, int linhas);
    int colunas() const { return m_colunas; }
    int linhas() const { return m_linhas; }

    // Steps 3 to 7: with kRecontar the pages are counted again and the first
    // one is read; otherwise the page moves by `passo` (kept inside the pages).
    void verificar(int passo);

    const QList<CelulaMesa>& celulas() const { return m_celulas; }
    int tamanhoPagina() const { return m_tamanho; }
    int pagina() const { return m_pagina; }
    int paginas() const { return m_paginas; }
    bool temAnterior() const { return m_pagina >= 1; }
    bool temProxima() const { return m_pagina + 1 < m_paginas; }
    // "(01/02)"
    QString rotuloPagina() const;
    int contagem(EstadoMesa estado) const { return m_contagem[size_t(estado)]; }
    // "Livre (3)", or the bare word when there is none.
    QString legenda(EstadoMesa estado) const;
    // Where the selection goes after a rebuild: the same position, the last
    // cell when the page is shorter, the first when there was none (-1: the
    // page is empty).
    int posicaoRestaurada(int anterior) const;

private:
    Database& m_db;
    int m_colunas = 1, m_linhas = 1, m_tamanho = 1;
    int m_pagina = 0, m_paginas = 0;
    QList<CelulaMesa> m_celulas;
    std::array<int, 4> m_contagem{0, 0, 0, 0};
};

// The items of a table as the map shows them.
QString sqlItensMesa(int codpedido, bool ocultarCancelados);

// "Tot. Produtos" and "Tot. Pedido" of the selected table: PED_TOTAL, and
// PED_TOTAL plus its service charge rounded up to the cent; "0,00" when a
// value is absent or negative.
struct TotaisMesa {
    QString produtos, pedido;
};
TotaisMesa totaisMesa(const std::optional<Currency>& pedTotal, const std::optional<Currency>& acrescimo);

// "MESA=>" shows the table with three digits.
QString rotuloMesa(int codcontrole);

// The quantity typed to cancel: digits with an optional "," or "." decimal
// part; anything else is nullopt.
std::optional<Currency> lerQuantidadeDigitada(const QString& texto);

} // namespace kvo
