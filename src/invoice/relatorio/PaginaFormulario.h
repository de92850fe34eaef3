#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QPainter;
class QPagedPaintDevice;

namespace kvo {

// Page settings of the pre-printed invoice form ("nfvenda.ini", section
// "configuracao"). Sizes of a character cell and of the main band are in
// report units (1/96 inch); the paper in millimetres.
struct ConfigFormulario {
    int alturaFonte = 13;
    int larguraFonte = 7;
    int alturaPapel = 297;
    int larguraPapel = 210;
    int alturaPrincipal = 1013;

    // The settings of `arquivo`; a key that is missing or not a number, or a
    // file that cannot be read, keeps its default. Keys ignore case.
    static ConfigFormulario ler(const QString& arquivo);
    // "nfvenda.ini" in the program folder.
    static ConfigFormulario doProgramFolder();
};

// One free-positioned text box of the page, in report units.
struct CaixaTexto {
    QString nome;     // "rlbl1", "rmem1" ...
    int esquerda = 0;
    int topo = 0;
    int largura = 0;
    int altura = 0;
    QString texto;    // lines separated by "\n" in a multi-line box
    bool multilinha = false;
};

// The page of the form: the boxes placed on it, drawn on any paged device
// (the system's printers, PDF) and shown as text lines in the preview.
class PaginaFormulario {
public:
    explicit PaginaFormulario(ConfigFormulario config = {}) : m_config(config) {}

    const ConfigFormulario& config() const { return m_config; }
    const QList<CaixaTexto>& caixas() const { return m_caixas; }
    void adicionar(const CaixaTexto& caixa) { m_caixas << caixa; }
    void limpar() { m_caixas.clear(); }

    // One line per box in placing order: "name;left;top;width;[text]", line
    // breaks of multi-line boxes written as "\n".
    QString listaCaixas() const;
    // The page as fixed-width text: each box at its character cell (the
    // preview of the host shows text lines).
    QStringList linhasTexto() const;

    // Draws the boxes on a device already begun by `p`, the page taken as the
    // paper of the settings from its top left corner.
    void desenhar(QPainter& p, const QPagedPaintDevice& device) const;
    // Sets the paper of the settings (no margins) on a device.
    void prepararPagina(QPagedPaintDevice& device) const;
    // Writes the page as a PDF file; throws with the file's name when it cannot.
    void gravarPDF(const QString& arquivo) const;
    // Prints on the system's printer `impressora` (empty: the default one);
    // throws naming it when it cannot take the job.
    void imprimir(const QString& impressora, const QString& documento) const;

private:
    ConfigFormulario m_config;
    QList<CaixaTexto> m_caixas;
};

} // namespace kvo
