#include "update/package_signature_win.h"

#include <windows.h>
#include <bcrypt.h>

#include <array>
#include <cstring>
#include <vector>

#include "update/bcrypt_handles_win.h"

namespace Thermolyx {

namespace {

constexpr std::size_t kHashSize = 32;
constexpr std::size_t kReadPiece = 64 * 1024;

bool Succeeded(NTSTATUS status) { return status == 0; }  // STATUS_SUCCESS, nothing else

UniqueBcryptAlgorithm OpenAlgorithm(const wchar_t* name) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (!Succeeded(::BCryptOpenAlgorithmProvider(&algorithm, name, nullptr, 0))) {
        return {};
    }
    return UniqueBcryptAlgorithm(algorithm);
}

bool HashPackage(const ArchiveFile& package, std::array<UCHAR, kHashSize>& digest) {
    const UniqueBcryptAlgorithm sha256 = OpenAlgorithm(BCRYPT_SHA256_ALGORITHM);
    BCRYPT_HASH_HANDLE rawHash = nullptr;
    if (!sha256 || !Succeeded(::BCryptCreateHash(sha256.Get(), &rawHash, nullptr, 0, nullptr, 0, 0))) {
        return false;
    }
    const UniqueBcryptHash hash(rawHash);
    std::vector<UCHAR> piece(kReadPiece);
    std::uint64_t offset = 0;
    while (offset < package.Size()) {
        const std::ptrdiff_t read = package.ReadAt(offset, piece.data(), piece.size());
        if (read <= 0 || !Succeeded(::BCryptHashData(hash.Get(), piece.data(), static_cast<ULONG>(read), 0))) {
            return false;
        }
        offset += static_cast<std::uint64_t>(read);
    }
    return Succeeded(::BCryptFinishHash(hash.Get(), digest.data(), static_cast<ULONG>(digest.size()), 0));
}

UniqueBcryptKey ImportKey(BCRYPT_ALG_HANDLE ecdsa, const PublisherKey& key) {
    // The public blob is its header followed by X and Y.
    std::array<UCHAR, sizeof(BCRYPT_ECCKEY_BLOB) + sizeof(PublisherKey)> blob{};
    const BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
    std::memcpy(blob.data(), &header, sizeof(header));
    std::memcpy(blob.data() + sizeof(header), key.data(), key.size());
    BCRYPT_KEY_HANDLE imported = nullptr;
    if (!Succeeded(::BCryptImportKeyPair(ecdsa, nullptr, BCRYPT_ECCPUBLIC_BLOB, &imported, blob.data(),
                                         static_cast<ULONG>(blob.size()), 0))) {
        return {};
    }
    return UniqueBcryptKey(imported);
}

}  // namespace

bool IsSignedByPublisher(const ArchiveFile& package, std::string_view signature, const PublisherKey& key) {
    if (signature.size() != kPackageSignatureSize) {
        return false;
    }
    std::array<UCHAR, kHashSize> digest{};
    if (!HashPackage(package, digest)) {
        return false;
    }
    const UniqueBcryptAlgorithm ecdsa = OpenAlgorithm(BCRYPT_ECDSA_P256_ALGORITHM);
    const UniqueBcryptKey publicKey = ecdsa ? ImportKey(ecdsa.Get(), key) : UniqueBcryptKey();
    if (!publicKey) {
        return false;
    }
    std::array<UCHAR, kPackageSignatureSize> rs{};
    std::memcpy(rs.data(), signature.data(), rs.size());
    return Succeeded(::BCryptVerifySignature(publicKey.Get(), nullptr, digest.data(), static_cast<ULONG>(digest.size()),
                                             rs.data(), static_cast<ULONG>(rs.size()), 0));
}

}  // namespace Thermolyx
