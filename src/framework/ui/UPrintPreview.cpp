#include "framework/ui/UPrintPreview.h"

#include "devices/ReceiptPrinterTargets.h"
#include "framework/ui/UserInterface.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kvo {

TfrmPrintPreview::TfrmPrintPreview(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPrintPreview"));
    m_visual = new QPlainTextEdit(this);
    m_visual->setObjectName(QStringLiteral("memTexto"));
    m_visual->setReadOnly(true);
    m_visual->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_visual->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* barra = new QHBoxLayout;
    auto botao = [&](const char* nome, const char* titulo, void (TfrmPrintPreview::*acao)()) {
        auto* b = new QPushButton(QString::fromUtf8(titulo), this);
        b->setObjectName(QString::fromLatin1(nome));
        connect(b, &QPushButton::clicked, this, acao);
        barra->addWidget(b);
        return b;
    };
    botao("btnImprimir", "&Imprimir", &TfrmPrintPreview::btnImprimirClick)->setDefault(true);
    m_btnAlterar = botao("btnAlterar", "&Alterar opções", &TfrmPrintPreview::btnAlterarClick);
    botao("btnFechar", "&Fechar", &TfrmPrintPreview::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_visual, 1);
    layout->addLayout(barra);
    resize(460, 640);
}

void TfrmPrintPreview::iniciar(const QString& titulo, const QString& destino) {
    m_titulo = titulo;
    m_destino = destino;
    m_linhas.clear();
    m_imprimiu = m_alterar = false;
    setWindowTitle(titulo);
}

void TfrmPrintPreview::setPermiteAlterar(bool permite) { m_btnAlterar->setVisible(permite); }

QString TfrmPrintPreview::textoTela() const {
    QStringList linhas;
    for (const QString& linha : m_linhas) {
        QString visivel;
        for (qsizetype i = 0; i < linha.size(); ++i) {
            const char16_t c = linha.at(i).unicode();
            if (c == 0x1B)
                ++i; // ESC takes the command byte after it
            else if ((c >= 0x20 && c != 0x7F) || c == u'\t')
                visivel += linha.at(i);
        }
        linhas << visivel;
    }
    return linhas.join(u'\n');
}

bool TfrmPrintPreview::mostrar() {
    m_visual->setPlainText(textoTela());
    exec();
    return m_imprimiu;
}

void TfrmPrintPreview::btnImprimirClick() {
    try {
        if (m_imprimir) {
            m_imprimir(m_linhas);
            m_imprimiu = true;
            accept();
            return;
        }
        // A folder gets one ".txt" file per document, as print managers pick them up.
        ReceiptTargetSettings ajustes;
        ajustes.prefix.clear();
        ajustes.extension = QStringLiteral(".txt");
        makeReceiptPrinterTarget(m_destino, ajustes)->print(ReceiptDocument{m_titulo, m_linhas});
        m_imprimiu = true;
        accept();
    } catch (const std::exception& e) {
        userInterface().showMessage(MessageKind::Error, QString::fromUtf8(e.what()));
    }
}

void TfrmPrintPreview::btnAlterarClick() {
    m_alterar = true;
    reject();
}

} // namespace kvo
