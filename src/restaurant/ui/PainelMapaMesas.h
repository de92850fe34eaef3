#pragma once

#include "restaurant/MapaMesas.h"

#include <QWidget>

class QLabel;
class QTableWidget;
class QTimer;
class QToolButton;

namespace kvo {

class Database;

// The paged table map both restaurant screens show: the grid of tables with
// their state pictures, the page arrows and label, the legend, the print
// service warning and the 40 s refresh timer. The rules are MapaMesas'.
class PainelMapaMesas : public QWidget {
    Q_OBJECT
public:
    // `toque`: page arrows big enough for a finger.
    PainelMapaMesas(Database& db, bool toque, QWidget* parent = nullptr);

    // Steps 1 to 8 of the refresh: `resize` fits the grid again; `passo` 99
    // recounts, otherwise it moves the page.
    void verificarControles(bool resize, int passo);
    void setTamanhoCelula(int largura, int altura);
    const MapaMesas& mapa() const { return m_mapa; }
    QTimer* timer() const { return m_timer; }
    QTableWidget* grade() const { return m_grade; }
    // The selected cell (empty when none).
    CelulaMesa celulaSelecionada() const;
    int mesaSelecionada() const { return celulaSelecionada().codcontrole; }
    // Puts the selection on the table when it is on the current page.
    bool selecionarMesa(int mesa);

Q_SIGNALS:
    // The selected cell changed (a move, or a rebuild of the page).
    void selecaoMudou();
    // Enter on a table.
    void mesaConfirmada(int mesa);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ajustarGrade();
    void preencherMapa(int posicao);
    void mostrarAvisoImpressao();
    void mudarPagina(int passo);
    int posicaoAtual() const;

    Database& m_db;
    MapaMesas m_mapa;
    QTableWidget* m_grade;
    QToolButton* m_anterior;
    QToolButton* m_proxima;
    QLabel* m_pagina;
    QLabel* m_legenda[4];
    QLabel* m_avisoImpressao;
    QTimer* m_timer;
    int m_larguraCelula = 96, m_alturaCelula = 60;
};

} // namespace kvo
