#pragma once

#include "nfe/NFeModel.h"

#include <QString>

#include <optional>
#include <utility>

namespace kvo::autoridade {

// The authority's cross-field rules on an NF-e that passed the schema: the
// totals against the items, the payment against the total, references,
// recipient and the key's numeric code. The first rule broken, as the
// standard rejection code and reason; nothing when the document passes.
std::optional<std::pair<int, QString>> violacaoDeRegra(const nfe::NFe& n);

} // namespace kvo::autoridade
