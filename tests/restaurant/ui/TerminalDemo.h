#pragma once

#include "core/Paths.h"
#include "framework/db/Database.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DCaixaAbertura.h"
#include "framework/services/DConfiguracao.h"
#include "framework/services/Module.h"
#include "restaurant/DResPedido.h"

#include <QApplication>
#include <QDate>
#include <QPixmap>
#include <QWidget>

#include <cstdio>
#include <initializer_list>
#include <stdexcept>
#include <utility>

namespace kvo::test {

// The demo terminal the screenshot programs draw on: the database of the
// program folder, the Administrator logged in and a cash register open.
class TerminalDemo {
public:
    explicit TerminalDemo(const QString& pastaPrograma)
        : m_db((setProgramFolder(pastaPrograma), ConnectionSettings::fromProgramFolder())) {
        m_db.open();
        TdmAcesso::gerarInstance().usarConexao(m_db);
        TdmAcesso::gerarInstance().setUsuario({1, QStringLiteral("Administrador"), 1, true});
        TdmConfiguracao::gerarInstance().registrarChaves();
        if (!TdmCaixaAbertura::gerarInstance().caixaAberto())
            TdmCaixaAbertura::gerarInstance().abrir(QDate::currentDate(), Currency(), QStringLiteral("Administrador"));
    }
    Database& db() { return m_db; }

    // Posts on the table, when it has no open order, the first sellable
    // product (no options, a price) from each search code on, in its quantity.
    void lancarMesa(int mesa, std::initializer_list<std::pair<const char*, int>> itens) {
        TdmResPedido& dm = TdmResPedido::gerarInstance();
        if (dm.pedidoAberto(mesa) > 0)
            return;
        dm.abrirMesa(mesa);
        for (const auto& [codigo, qtde] : itens) {
            const auto produto = m_db.scalar(QStringLiteral("select first 1 PRO_CODPESQ_1 from PRODUTO where "
                                                            "coalesce(PRO_PERSONALIZADO, 'N') <> 'S' and PRO_PRECO01 > 0 "
                                                            "and PRO_CODPESQ_1 >= :C order by PRO_CODPESQ_1"),
                                             {{QStringLiteral("C"), QString::fromLatin1(codigo)}});
            dm.cdsResPedidoItem().append();
            dm.cdsResPedidoItem().field(QStringLiteral("CODPESQUISA")).setValue(produto);
            dm.cdsResPedidoItem().field(QStringLiteral("PEDI_QTDE")).setValue(qtde);
            dm.cdsResPedidoItem().post();
        }
        dm.ResPedido_CalculaTotal();
        dm.gravarPedido();
    }

    // The shown screen as a PNG; its path goes to the output.
    static void salvar(QWidget& tela, const QString& arquivo) {
        QApplication::processEvents();
        if (!tela.grab().save(arquivo))
            throw std::runtime_error("não foi possível gravar " + arquivo.toStdString());
        std::printf("%s\n", qPrintable(arquivo));
    }

private:
    Database m_db;
    Module m_module;
};

} // namespace kvo::test
