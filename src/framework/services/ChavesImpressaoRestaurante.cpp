#include "framework/services/ChavesConfiguracao.h"

namespace kvo {

const QVector<ChaveConfiguracao>& chavesImpressaoRestaurante() {
    static const QVector<ChaveConfiguracao> chaves{
        {"Restaurante - Impressão", "REST.PST.COZ", "TXT", "c:\\KVO\\pedidos\\", "CAMINHO DA PASTA DO GERENCIADOR - COZINHA"},
        {"Restaurante - Impressão", "REST.PST.BAR", "TXT", "c:\\KVO\\pedidos\\", "CAMINHO DA PASTA DO GERENCIADOR - BAR"},
        {"Restaurante - Impressão", "REST.PST.PIZ", "TXT", "c:\\KVO\\pedidos\\", "CAMINHO DA PASTA DO GERENCIADOR - PIZZARIA"},
        {"Restaurante - Impressão", "REST.PST.CHU", "TXT", "c:\\KVO\\pedidos\\",
         "CAMINHO DA PASTA DO GERENCIADOR - CHURRASQUEIRA"},
        {"Restaurante - Impressão", "REST.TAB.EXTRA", "TXT", "N", "EXTRATO DE TABLET NA IMPRESSÃO DE CHURRASQUEIRA"},
    };
    return chaves;
}

} // namespace kvo
