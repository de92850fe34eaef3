#include "printservice/FontePasta.h"

#include "core/Clock.h"
#include "devices/FolderDropTarget.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>

#include <stdexcept>

namespace kvo::impressao {

namespace {

const QStringList Padroes{QStringLiteral("PED_*.ped"), QStringLiteral("EXT_*.ext")};

struct Estado {
    QString fase; // "enviando" or "falhou"; empty when never attempted
    int tentativas = 0;
    QString erro;
    QDateTime primeiraFalha;
    bool reimpressao = false;
};

Estado lerEstado(const QString& arquivo) {
    Estado e;
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        return e;
    for (const QByteArray& bruta : f.readAll().split('\n')) {
        const QString linha = QString::fromUtf8(bruta).trimmed();
        const qsizetype eq = linha.indexOf(u'=');
        const QString chave = linha.left(eq), valor = linha.mid(eq + 1);
        if (chave == u"fase")
            e.fase = valor;
        else if (chave == u"tentativas")
            e.tentativas = valor.toInt();
        else if (chave == u"erro")
            e.erro = valor;
        else if (chave == u"primeiraFalha")
            e.primeiraFalha = QDateTime::fromString(valor, Qt::ISODateWithMs);
        else if (chave == u"reimpressao")
            e.reimpressao = valor == u"S";
    }
    return e;
}

// Written whole to a temporary file, synced and renamed: never half a state.
void gravarEstado(const QString& arquivo, const Estado& e) {
    QSaveFile f(arquivo);
    if (!f.open(QIODevice::WriteOnly))
        throw std::runtime_error(QStringLiteral("Não foi possível gravar %1").arg(arquivo).toStdString());
    QString erro = e.erro;
    erro.replace(u'\n', u' ').replace(u'\r', u' ');
    f.write(QStringLiteral("fase=%1\ntentativas=%2\nerro=%3\nprimeiraFalha=%4\nreimpressao=%5\n")
                .arg(e.fase)
                .arg(e.tentativas)
                .arg(erro, e.primeiraFalha.toString(Qt::ISODateWithMs), e.reimpressao ? u"S" : u"N")
                .toUtf8());
    if (!f.commit())
        throw std::runtime_error(QStringLiteral("Não foi possível gravar %1").arg(arquivo).toStdString());
}

void tocar(const QString& arquivo) {
    QFile f(arquivo);
    if (f.open(QIODevice::ReadWrite))
        f.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
}

QString lerTexto(const QString& arquivo) {
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("Não foi possível ler %1").arg(arquivo).toStdString());
    return QString::fromUtf8(f.readAll());
}

// The stamp of "PED_yyyymmdd_hhnnss...", else the file's time.
QDateTime criadoEm(const QString& nome, const QString& caminho) {
    static const QRegularExpression carimbo(QStringLiteral("^[A-Z]+_(\\d{8}_\\d{6})"));
    const auto m = carimbo.match(nome);
    if (m.hasMatch()) {
        const QDateTime d = QDateTime::fromString(m.captured(1), QStringLiteral("yyyyMMdd_HHmmss"));
        if (d.isValid())
            return d;
    }
    return QFileInfo(caminho).lastModified();
}

// Renames `de` to `pasta/nome`, or to "nome_2", "nome_3"... before the
// extension when the name is taken.
QString moverSemSobrescrever(const QString& de, const QDir& pasta, const QString& nome) {
    const qsizetype ponto = nome.lastIndexOf(u'.');
    const QString base = ponto < 0 ? nome : nome.left(ponto), ext = ponto < 0 ? QString() : nome.mid(ponto);
    for (int n = 1; n <= 1000; ++n) {
        const QString destino = pasta.filePath(n == 1 ? nome : QStringLiteral("%1_%2%3").arg(base).arg(n).arg(ext));
        if (moveNoReplace(de, destino))
            return destino;
    }
    throw std::runtime_error(QStringLiteral("Não foi possível mover %1 para %2").arg(de, pasta.path()).toStdString());
}

} // namespace

FontePasta::FontePasta(QString pasta, QString instancia, int expiraSegundos)
    : m_pasta(std::move(pasta)), m_instancia(std::move(instancia)), m_expira(expiraSegundos) {
    QDir().mkpath(QDir(m_pasta).filePath(QStringLiteral("imprimindo")));
}

void FontePasta::recuperar() {
    const QDir reiv(QDir(m_pasta).filePath(QStringLiteral("imprimindo")));
    const QString meu = u'@' + m_instancia;
    const QDateTime limite = QDateTime::currentDateTimeUtc().addSecs(-m_expira);
    for (const QFileInfo& fi : reiv.entryInfoList(QDir::Files, QDir::Name)) {
        const QString n = fi.fileName();
        if (n.endsWith(u".estado")) {
            if (!QFile::exists(fi.filePath().chopped(7)))
                QFile::remove(fi.filePath()); // its ticket was printed or taken over
            continue;
        }
        const qsizetype arroba = n.lastIndexOf(u'@');
        if (arroba < 0)
            continue;
        QString arquivo = fi.filePath();
        if (!n.endsWith(meu)) {
            if (fi.lastModified().toUTC() >= limite)
                continue; // its instance is alive and working on it
            const QString tomado = reiv.filePath(n.left(arroba) + meu);
            if (!moveNoReplace(arquivo, tomado))
                continue; // another instance took it first
            tocar(tomado);
            Estado e = lerEstado(arquivo + QStringLiteral(".estado"));
            if (e.fase != u"falhou")
                e.reimpressao = true;
            e.fase = QStringLiteral("falhou");
            gravarEstado(tomado + QStringLiteral(".estado"), e);
            QFile::remove(arquivo + QStringLiteral(".estado"));
            continue;
        }
        Estado e = lerEstado(arquivo + QStringLiteral(".estado"));
        if (e.fase != u"falhou") { // claimed, maybe sent: the outcome is unknown
            e.reimpressao = true;
            e.fase = QStringLiteral("falhou");
            gravarEstado(arquivo + QStringLiteral(".estado"), e);
        }
    }
}

std::optional<Ticket> FontePasta::reivindicar() {
    const QDir pasta(m_pasta);
    const QDir reiv(pasta.filePath(QStringLiteral("imprimindo")));
    const QString meu = u'@' + m_instancia;
    auto ticket = [&](const QString& nome, const QString& arquivo) {
        tocar(arquivo);
        const Estado e = lerEstado(arquivo + QStringLiteral(".estado"));
        Ticket t;
        t.id = nome;
        t.texto = lerTexto(arquivo);
        t.mesa = mesaDoTexto(t.texto);
        t.titulo = nome;
        t.reimpressao = e.reimpressao;
        t.tentativas = e.tentativas;
        if (e.primeiraFalha.isValid())
            t.falhandoHaSegundos = static_cast<int>(e.primeiraFalha.secsTo(QDateTime::currentDateTimeUtc()));
        return t;
    };
    // Tickets already held (failed before) come first: they are the oldest.
    for (const QString& n : reiv.entryList({QStringLiteral("*") + meu}, QDir::Files, QDir::Name))
        return ticket(n.chopped(meu.size()), reiv.filePath(n));
    for (const QString& n : pasta.entryList(Padroes, QDir::Files, QDir::Name)) {
        const QString arquivo = reiv.filePath(n + meu);
        if (moveNoReplace(pasta.filePath(n), arquivo))
            return ticket(n, arquivo);
    }
    return std::nullopt;
}

void FontePasta::enviando(const Ticket& t) {
    const QString arquivo = QDir(m_pasta).filePath(QStringLiteral("imprimindo/") + t.id + u'@' + m_instancia);
    Estado e = lerEstado(arquivo + QStringLiteral(".estado"));
    e.fase = QStringLiteral("enviando");
    gravarEstado(arquivo + QStringLiteral(".estado"), e);
}

void FontePasta::impresso(const Ticket& t, const QString&) {
    const QDir pasta(m_pasta);
    const QString arquivo = pasta.filePath(QStringLiteral("imprimindo/") + t.id + u'@' + m_instancia);
    const QDir destino(pasta.filePath(QStringLiteral("impressos/") + Clock::today().toString(Qt::ISODate)));
    QDir().mkpath(destino.path());
    moverSemSobrescrever(arquivo, destino, t.id);
    QFile::remove(arquivo + QStringLiteral(".estado"));
}

void FontePasta::falhou(const Ticket& t, const QString& erro, bool incerto) {
    const QString arquivo = QDir(m_pasta).filePath(QStringLiteral("imprimindo/") + t.id + u'@' + m_instancia);
    Estado e = lerEstado(arquivo + QStringLiteral(".estado"));
    e.fase = QStringLiteral("falhou");
    e.tentativas += 1;
    e.erro = erro;
    if (!e.primeiraFalha.isValid())
        e.primeiraFalha = QDateTime::currentDateTimeUtc();
    e.reimpressao = e.reimpressao || incerto;
    gravarEstado(arquivo + QStringLiteral(".estado"), e);
}

QList<FontePasta::Aguardando> FontePasta::aguardando() const {
    QList<Aguardando> lista;
    const QDir pasta(m_pasta);
    const QDir reiv(pasta.filePath(QStringLiteral("imprimindo")));
    for (const QFileInfo& fi : reiv.entryInfoList(QDir::Files, QDir::Name)) {
        const qsizetype arroba = fi.fileName().lastIndexOf(u'@');
        if (fi.fileName().endsWith(u".estado") || arroba < 0)
            continue;
        const Estado e = lerEstado(fi.filePath() + QStringLiteral(".estado"));
        Aguardando a{fi.fileName().left(arroba), fi.fileName().mid(arroba + 1), {}, e.tentativas, e.erro, e.reimpressao, {}};
        a.criado = criadoEm(a.nome, fi.filePath());
        try { a.texto = lerTexto(fi.filePath()); } catch (const std::exception&) {}
        lista << a;
    }
    for (const QFileInfo& fi : pasta.entryInfoList(Padroes, QDir::Files, QDir::Name)) {
        Aguardando a{fi.fileName(), {}, criadoEm(fi.fileName(), fi.filePath()), 0, {}, false, {}};
        try { a.texto = lerTexto(fi.filePath()); } catch (const std::exception&) {}
        lista << a;
    }
    std::stable_sort(lista.begin(), lista.end(), [](const Aguardando& a, const Aguardando& b) { return a.criado < b.criado; });
    return lista;
}

QString FontePasta::reimprimir(const QString& nome) const {
    const QDir impressos(QDir(m_pasta).filePath(QStringLiteral("impressos")));
    QStringList dias = impressos.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    std::reverse(dias.begin(), dias.end());
    for (const QString& dia : dias) {
        const QString origem = impressos.filePath(dia + u'/' + nome);
        if (!QFile::exists(origem))
            continue;
        const QDir temp(QDir(m_pasta).filePath(QStringLiteral("temp")));
        QDir().mkpath(temp.path());
        const QString tmp = temp.filePath(QStringLiteral("reimpressao-") + nome);
        QSaveFile f(tmp);
        if (!f.open(QIODevice::WriteOnly) || f.write(comMarcaReimpressao(lerTexto(origem)).toUtf8()) < 0 || !f.commit())
            throw std::runtime_error(QStringLiteral("Não foi possível gravar %1").arg(tmp).toStdString());
        const qsizetype ponto = nome.lastIndexOf(u'.');
        const QString novo = (ponto < 0 ? nome : nome.left(ponto)) + QStringLiteral("_R") + (ponto < 0 ? QString() : nome.mid(ponto));
        return QFileInfo(moverSemSobrescrever(tmp, QDir(m_pasta), novo)).fileName();
    }
    throw std::runtime_error(QStringLiteral("Ticket %1 não encontrado entre os impressos de %2").arg(nome, m_pasta).toStdString());
}

} // namespace kvo::impressao
