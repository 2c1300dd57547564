#include "Error.h"

#include <utility>

#include "Utf.h"

namespace velmora {

Error::Error(std::u16string message) : message_(std::move(message)), utf8_(ToUtf8(message_)) {}

}  // namespace velmora
