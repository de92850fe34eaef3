#include "invoice/ui/TelasNFVenda.h"

namespace kvo {

TelasNFVenda& telasNFVenda() {
    static TelasNFVenda telas;
    return telas;
}

} // namespace kvo
