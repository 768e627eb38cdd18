// Catalogue messages that become document text.
#pragma once
#include "catalogue/message_ids.h"

#include <string>

namespace tamsel {

// The message in the user's language, in the client's character set; empty when missing.
std::string ClientCatalogueText(MessageId id);

} // namespace tamsel
