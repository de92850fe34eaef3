#include "restaurant/ui/TelasRestaurante.h"

namespace kvo {

TelasRestaurante& telasRestaurante() {
    static TelasRestaurante telas;
    return telas;
}

} // namespace kvo
