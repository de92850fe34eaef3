#include "invoice/relatorio/RNFVenda.h"

#include "core/Format.h"
#include "core/Text.h"
#include "framework/db/DatabaseError.h"
#include "framework/db/RecordSet.h"
#include "framework/services/Module.h"
#include "framework/ui/UserInterface.h"
#include "invoice/DNFVenda.h"
#include "registers/DCadastros.h"

#include <QFile>
#include <QHash>
#include <QTemporaryFile>

namespace kvo {

namespace {

PreviewFormulario* g_preview = nullptr;

const QString tabelaCabecalho = QStringLiteral("cdsNFVenda");
const QString tabelaItem = QStringLiteral("cdsNFVendaItem");
const QString tabelaContas = QStringLiteral("cdsPesq_Contas");

// One print-layout row.
struct Posicao {
    bool imprimir = false;
    int coluna = 0;
    int linha = 0;
    int tamanho = 0;
    int salto = 1;
};

class Layout {
public:
    explicit Layout(RecordSet& rs) {
        for (rs.first(); !rs.eof(); rs.next()) {
            Posicao p;
            p.imprimir = rs.field(QStringLiteral("PARNI_IMPRIMIR")).asString().trimmed() == u"S";
            p.coluna = int(rs.field(QStringLiteral("PARNI_COLUNA")).asInteger());
            p.linha = int(rs.field(QStringLiteral("PARNI_LINHA")).asInteger());
            p.tamanho = int(rs.field(QStringLiteral("PARNI_TAMANHO")).asInteger());
            p.salto = int(rs.field(QStringLiteral("PARNI_SALTO")).asInteger());
            m_linhas.insert(chave(rs.field(QStringLiteral("PARNI_TABELA")).asString(),
                                  rs.field(QStringLiteral("PARNI_CAMPO")).asString()),
                            p);
        }
        rs.close();
    }
    const Posicao* achar(const QString& tabela, const QString& campo) const {
        auto it = m_linhas.constFind(chave(tabela, campo));
        return it == m_linhas.constEnd() ? nullptr : &it.value();
    }

private:
    static QString chave(const QString& tabela, const QString& campo) {
        return tabela.trimmed().toUpper() + u';' + campo.trimmed().toUpper();
    }
    QHash<QString, Posicao> m_linhas;
};

bool campoGrandeTipo(const Field& f) { return f.type() == FieldType::Memo || f.type() == FieldType::Blob; }

// Word wrap at `largura` characters (0: the text's own lines); a word longer
// than the line is cut.
QStringList quebrar(const QString& texto, int largura) {
    QStringList linhas;
    for (const QString& paragrafo : QString(texto).remove(u'\r').split(u'\n')) {
        if (largura <= 0) {
            linhas << paragrafo;
            continue;
        }
        QString atual;
        for (QString palavra : paragrafo.split(u' ', Qt::SkipEmptyParts)) {
            while (palavra.size() > largura) {
                if (!atual.isEmpty())
                    linhas << atual;
                linhas << palavra.left(largura);
                palavra = palavra.mid(largura);
                atual.clear();
            }
            if (atual.isEmpty())
                atual = palavra;
            else if (atual.size() + 1 + palavra.size() <= largura)
                atual += u' ' + palavra;
            else {
                linhas << atual;
                atual = palavra;
            }
        }
        linhas << atual;
    }
    while (linhas.size() > 1 && linhas.last().isEmpty())
        linhas.removeLast();
    return linhas;
}

// Puts the data module back as it was: the invoice a screen had open, or closed.
class RestaurarNota {
public:
    explicit RestaurarNota(TdmNFVenda& dm) : m_dm(dm) {
        RecordSet& cab = dm.cdsNFVenda();
        m_aberta = cab.active() && !cab.isEmpty();
        if (m_aberta) {
            m_numero = int(cab.field(QStringLiteral("CODNFVENDA")).asInteger());
            m_serie = cab.field(QStringLiteral("CODSERIE")).asString();
        }
    }
    ~RestaurarNota() {
        try {
            if (m_aberta)
                m_dm.abrirNFVenda(m_numero, m_serie);
            else
                m_dm.fecharNFVenda();
        } catch (...) {
        }
    }
    RestaurarNota(const RestaurarNota&) = delete;
    RestaurarNota& operator=(const RestaurarNota&) = delete;

private:
    TdmNFVenda& m_dm;
    bool m_aberta = false;
    int m_numero = 0;
    QString m_serie;
};

} // namespace

void setPreviewFormulario(PreviewFormulario* preview) { g_preview = preview; }

TrelNFVenda& TrelNFVenda::gerarInstance() { return Module::current().instance<TrelNFVenda>(); }

TrelNFVenda::TrelNFVenda() = default;

void TrelNFVenda::iniciarPagina(const ConfigFormulario& config) {
    m_pagina = PaginaFormulario(config);
    m_rotulos = m_memos = 0;
}

void TrelNFVenda::posicionar(CaixaTexto& caixa, int coluna, int linha, Banda banda) const {
    const ConfigFormulario& c = m_pagina.config();
    caixa.esquerda = coluna * c.larguraFonte;
    caixa.topo = linha * c.alturaFonte + (banda == Banda::Rodape ? c.alturaPrincipal : 0);
}

void TrelNFVenda::CriarLabel(const QString& texto, int coluna, int linha, Banda banda, int largura) {
    CaixaTexto caixa;
    caixa.nome = QStringLiteral("rlbl") + QString::number(++m_rotulos);
    posicionar(caixa, coluna, linha, banda);
    caixa.altura = 20;
    // Without a width the box sizes itself to the text, a cell per character.
    caixa.largura = (largura > 0 ? largura : int(texto.size())) * m_pagina.config().larguraFonte;
    caixa.texto = texto;
    m_pagina.adicionar(caixa);
}

int TrelNFVenda::CriarBlob2(const QString& texto, int coluna, int linha, Banda banda, int largura) {
    const QStringList linhas = quebrar(texto, largura);
    CaixaTexto caixa;
    caixa.nome = QStringLiteral("rmem") + QString::number(++m_memos);
    caixa.multilinha = true;
    posicionar(caixa, coluna, linha, banda);
    int maior = 0;
    for (const QString& l : linhas)
        maior = qMax(maior, int(l.size()));
    caixa.largura = (largura > 0 ? largura : maior) * m_pagina.config().larguraFonte;
    caixa.altura = int(linhas.size()) * m_pagina.config().alturaFonte;
    caixa.texto = linhas.join(u'\n');
    m_pagina.adicionar(caixa);
    return int(linhas.size());
}

int TrelNFVenda::CriarBlob(const QString& arquivo, int coluna, int linha, Banda banda, int largura) {
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        throw DatabaseError(QStringLiteral("Não foi possível ler o arquivo %1 do formulário: %2").arg(arquivo, f.errorString()));
    return CriarBlob2(QString::fromUtf8(f.readAll()), coluna, linha, banda, largura);
}

QString TrelNFVenda::VerTipo(const Field& campo, int largura) {
    auto ajustar = [largura](const QString& texto, bool direita) {
        if (largura < 1)
            return texto;
        return direita ? PadL(texto, largura) : PadR(texto, largura);
    };
    const QString& nome = campo.name();
    // The unit price and the quantity keep their own display format.
    if (nome == u"NFVI_VLR_UNITARIO" || nome == u"NFVI_QTDE")
        return ajustar(campo.displayText(), true);
    if (campo.type() == FieldType::Currency)
        return ajustar(formatFloat(u",0.00", campo.asCurrency()), true);
    return ajustar(campo.displayText(), false);
}

// A large column goes through a temporary file into a multi-line box.
int TrelNFVenda::campoGrande(const Field& campo, int coluna, int linha, int largura) {
    QTemporaryFile arquivo;
    if (!arquivo.open())
        throw DatabaseError(QStringLiteral("Não foi possível criar o arquivo temporário do formulário: %1")
                                .arg(arquivo.errorString()));
    const QVariant v = campo.value();
    arquivo.write(v.metaType().id() == QMetaType::QByteArray ? v.toByteArray() : campo.asString().toUtf8());
    arquivo.close();
    return CriarBlob(arquivo.fileName(), coluna, linha, Banda::Principal, largura);
}

void TrelNFVenda::colocarCabecalho(RecordSet& cab, RecordSet& layoutRs) {
    const Layout layout(layoutRs);
    const bool consumidorFinal = cab.field(QStringLiteral("PES_CONSUMIDOR_FINAL")).asString().trimmed() == u"S";
    static const QStringList icms{QStringLiteral("NFV_ICMS_BASE"), QStringLiteral("NFV_ICMS")};
    static const QStringList icmsSubst{QStringLiteral("NFV_ICMS_SUBST_BASE"), QStringLiteral("NFV_ICMS_SUBST")};
    for (int i = 0; i < cab.fieldCount(); ++i) {
        const Field& campo = cab.field(i);
        const Posicao* p = layout.achar(tabelaCabecalho, campo.name());
        if (!p || icmsSubst.contains(campo.name()) || (consumidorFinal && icms.contains(campo.name())))
            continue;
        if (!p->imprimir)
            continue;
        if (campo.name() == u"CODCFOP" && campo.displayText() == u"0000")
            continue;
        if (campoGrandeTipo(campo))
            campoGrande(campo, p->coluna, p->linha, p->tamanho);
        else
            CriarLabel(VerTipo(campo, p->tamanho), p->coluna, p->linha, Banda::Principal, p->tamanho);
    }
}

void TrelNFVenda::colocarItens(RecordSet& itensRs, RecordSet& layoutRs) {
    const Layout layout(layoutRs);
    const Posicao* descricao = layout.achar(tabelaItem, QStringLiteral("PRO_DESCRICAO"));
    int linha = descricao ? descricao->linha : 30;
    DisableControls guarda(itensRs);
    for (itensRs.first(); !itensRs.eof(); itensRs.next()) {
        // One row per item; an item with multi-line boxes takes as many rows
        // as the tallest of them, so the next item never prints over it.
        int linhasDoItem = 1;
        for (int i = 0; i < itensRs.fieldCount(); ++i) {
            const Field& campo = itensRs.field(i);
            const Posicao* p = layout.achar(tabelaItem, campo.name());
            if (!p || !p->imprimir)
                continue;
            if (campoGrandeTipo(campo))
                linhasDoItem = qMax(linhasDoItem, campoGrande(campo, p->coluna, linha, p->tamanho));
            else if (campo.displayText().size() > 150)
                linhasDoItem = qMax(linhasDoItem, CriarBlob2(campo.displayText().trimmed(), p->coluna, linha,
                                                              Banda::Principal, p->tamanho));
            else
                CriarLabel(VerTipo(campo, p->tamanho), p->coluna, linha, Banda::Principal, p->tamanho);
        }
        linha += linhasDoItem;
    }
}

void TrelNFVenda::colocarParcelas(RecordSet& contas, RecordSet& layoutRs) {
    const Layout layout(layoutRs);
    struct Coluna {
        const char* nome;
        const Posicao* posicao;
        int linha;
    };
    Coluna colunas[] = {{"CON_PARCELA", nullptr, 0}, {"CON_DTVENC", nullptr, 0}, {"CON_VLRPARCELA", nullptr, 0}};
    for (Coluna& c : colunas) {
        c.posicao = layout.achar(tabelaContas, QString::fromLatin1(c.nome));
        c.linha = c.posicao ? c.posicao->linha : 0;
    }
    for (contas.first(); !contas.eof(); contas.next()) {
        for (Coluna& c : colunas) {
            if (!c.posicao)
                continue;
            const Posicao& p = *c.posicao;
            const Field& campo = contas.field(QString::fromLatin1(c.nome));
            if (p.imprimir) {
                const bool valor = campo.name() == u"CON_VLRPARCELA";
                CriarLabel(valor ? VerTipo(campo, p.tamanho) : campo.displayText(), p.coluna, c.linha, Banda::Principal,
                           p.tamanho);
            }
            c.linha += p.salto;
        }
    }
    contas.close();
}

void TrelNFVenda::rodape() { CriarLabel(QStringLiteral("KVO Gestão"), 0, 0, Banda::Rodape, 0); }

PaginaFormulario TrelNFVenda::montar(int numero, const QString& serie) {
    TdmNFVenda& dm = TdmNFVenda::gerarInstance();
    const RecordSet::State estado = dm.cdsNFVenda().state();
    // Reopening the header would drop what a screen is typing.
    if (estado == RecordSet::State::Edit || estado == RecordSet::State::Insert)
        Error(QStringLiteral("Grave ou cancele a nota fiscal em edição antes de imprimir o formulário."));
    RestaurarNota restaurar(dm);
    if (!dm.abrirNFVenda(numero, serie))
        Error(QStringLiteral("Nota fiscal %1 série %2 não encontrada.").arg(numero).arg(serie));
    iniciarPagina(ConfigFormulario::doProgramFolder());
    TdmParametro& parametro = TdmParametro::gerarInstance();
    colocarCabecalho(dm.cdsNFVenda(), parametro.layoutImpressao());
    if (!dm.cdsNFVendaItem().isEmpty())
        colocarItens(dm.cdsNFVendaItem(), parametro.layoutImpressao());
    colocarParcelas(*dm.parcelas(), parametro.layoutImpressao());
    rodape();
    return m_pagina;
}

bool TrelNFVenda::Imprimir(int numero, const QString& serie) {
    const PaginaFormulario pagina = montar(numero, serie);
    if (!g_preview)
        Error(QStringLiteral("A pré-visualização do formulário não está disponível nesta versão."));
    return g_preview->mostrar(QStringLiteral("Nota Fiscal %1 - Série %2").arg(numero).arg(serie), pagina);
}

} // namespace kvo
