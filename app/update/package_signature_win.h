#pragma once

#include <string_view>

#include "update/publisher_key.h"
#include "update/zip/zip_file_layer.h"

namespace Thermolyx {

// Whether `signature` (r then s) is the publisher's ECDSA P-256 signature over the
// SHA-256 of the whole package, read through its open file so that what is checked is
// what is later extracted. Uses the system's own cryptography (CNG).
bool IsSignedByPublisher(const ArchiveFile& package, std::string_view signature, const PublisherKey& key);

}  // namespace Thermolyx
