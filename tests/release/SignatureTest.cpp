// The signed executables that sign-release.sh made, as Windows' crypto API
// reads them: TAVRIN_SIGNED_FOLDER holds setup.exe, setup64.exe and
// changed.exe (setup64.exe with one byte of code changed).
#include "res/resource.h"

#include "framework/UniqueResource.h"

#include "support/AppDriver.h"
#include "support/TestFiles.h"

#include <windows.h>
#include <wincrypt.h>
#include <softpub.h>
#include <wintrust.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct CertStoreTraits {
    using Type = HCERTSTORE;
    static Type Invalid() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr; }
    static void Close(Type h) noexcept { ::CertCloseStore(h, 0); }
};

struct CryptMsgTraits {
    using Type = HCRYPTMSG;
    static Type Invalid() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr; }
    static void Close(Type h) noexcept { ::CryptMsgClose(h); }
};

struct CertContextTraits {
    using Type = PCCERT_CONTEXT;
    static Type Invalid() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr; }
    static void Close(Type h) noexcept { ::CertFreeCertificateContext(h); }
};

std::wstring SignedFile(const wchar_t* name)
{
    return EnvironmentValue(L"TAVRIN_SIGNED_FOLDER") + L"\\" + name;
}

// What the embedded signature says: the signer's name, the digest algorithm,
// the address of the description (empty when the file holds no signature
// Windows can read) and whether an RFC 3161 time stamp counter-signs it.
struct Signature {
    std::wstring signer;
    std::string digest;
    std::wstring url;
    bool timeStamped = false;
};

const CRYPT_ATTRIBUTE* FindAttribute(const CRYPT_ATTRIBUTES& attributes, const char* oid)
{
    for (DWORD i = 0; i < attributes.cAttr; ++i) {
        if (strcmp(attributes.rgAttr[i].pszObjId, oid) == 0)
            return &attributes.rgAttr[i];
    }
    return nullptr;
}

std::wstring MoreInfoUrl(DWORD encoding, const CMSG_SIGNER_INFO& info)
{
    const CRYPT_ATTRIBUTE* attribute = FindAttribute(info.AuthAttrs, SPC_SP_OPUS_INFO_OBJID);
    if (attribute == nullptr || attribute->cValue != 1)
        return L"";
    DWORD size = 0;
    const CRYPT_ATTR_BLOB& value = attribute->rgValue[0];
    if (!::CryptDecodeObject(encoding, SPC_SP_OPUS_INFO_OBJID, value.pbData, value.cbData, 0, nullptr, &size))
        return L"";
    std::vector<BYTE> buffer(size);
    auto* opus = reinterpret_cast<SPC_SP_OPUS_INFO*>(buffer.data());
    if (!::CryptDecodeObject(encoding, SPC_SP_OPUS_INFO_OBJID, value.pbData, value.cbData, 0, opus, &size))
        return L"";
    if (opus->pMoreInfo == nullptr || opus->pMoreInfo->dwLinkChoice != SPC_URL_LINK_CHOICE)
        return L"";
    return opus->pMoreInfo->pwszUrl;
}

Signature ReadSignature(const std::wstring& path)
{
    DWORD encoding = 0;
    HCERTSTORE store = nullptr;
    HCRYPTMSG message = nullptr;
    if (!::CryptQueryObject(CERT_QUERY_OBJECT_FILE, path.c_str(), CERT_QUERY_CONTENT_FLAG_PKCS7_SIGNED_EMBED,
                            CERT_QUERY_FORMAT_FLAG_BINARY, 0, &encoding, nullptr, nullptr, &store, &message, nullptr))
        return {};
    const UniqueResource<CertStoreTraits> ownedStore(store);
    const UniqueResource<CryptMsgTraits> ownedMessage(message);
    DWORD size = 0;
    if (!::CryptMsgGetParam(message, CMSG_SIGNER_INFO_PARAM, 0, nullptr, &size))
        return {};
    std::vector<BYTE> buffer(size);
    auto* info = reinterpret_cast<CMSG_SIGNER_INFO*>(buffer.data());
    if (!::CryptMsgGetParam(message, CMSG_SIGNER_INFO_PARAM, 0, info, &size))
        return {};
    CERT_INFO wanted = {};
    wanted.Issuer = info->Issuer;
    wanted.SerialNumber = info->SerialNumber;
    const UniqueResource<CertContextTraits> certificate(
        ::CertFindCertificateInStore(store, encoding, 0, CERT_FIND_SUBJECT_CERT, &wanted, nullptr));
    if (!certificate)
        return {};
    wchar_t name[256] = L"";
    ::CertGetNameStringW(certificate.Get(), CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name, ARRAYSIZE(name));
    return { name, info->HashAlgorithm.pszObjId, MoreInfoUrl(encoding, *info),
             FindAttribute(info->UnauthAttrs, szOID_RFC3161_counterSign) != nullptr };
}

LONG VerifyTrust(const std::wstring& path)
{
    WINTRUST_FILE_INFO file = {};
    file.cbStruct = sizeof(file);
    file.pcwszFilePath = path.c_str();
    WINTRUST_DATA data = {};
    data.cbStruct = sizeof(data);
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    // No state kept, so nothing to close afterwards.
    data.dwStateAction = WTD_STATEACTION_IGNORE;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    return ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
}

class SignedRelease : public testing::TestWithParam<const wchar_t*> {};

TEST_P(SignedRelease, NamesThePublisherAndTheAddressOverASha256DigestTimeStamped)
{
    const Signature signature = ReadSignature(SignedFile(GetParam()));
    EXPECT_EQ(signature.signer, L"Tavrin Test Publisher");
    EXPECT_EQ(signature.digest, szOID_NIST_sha256);
    EXPECT_EQ(signature.url, EnvironmentValue(L"TAVRIN_SIGN_URL"));
    EXPECT_TRUE(signature.timeStamped);
}

// Windows stops at the test authority, which it does not trust; Wine 8 does
// not check the root. Either way the digest matched and the signature was read.
TEST_P(SignedRelease, HoldsForWinVerifyTrust)
{
    const LONG result = VerifyTrust(SignedFile(GetParam()));
    EXPECT_TRUE(result == ERROR_SUCCESS || result == CERT_E_UNTRUSTEDROOT) << std::hex << result;
}

INSTANTIATE_TEST_SUITE_P(Files, SignedRelease, testing::Values(L"setup.exe", L"setup64.exe"),
                         [](const testing::TestParamInfo<const wchar_t*>& info) {
                             return info.param == std::wstring(L"setup.exe") ? std::string("x86") : std::string("x64");
                         });

TEST(SignedReleaseChanged, FailsWinVerifyTrustOnItsDigest)
{
    EXPECT_EQ(VerifyTrust(SignedFile(L"changed.exe")), TRUST_E_BAD_DIGEST);
}

TEST(SignedReleaseX64, StartsAndShowsItsMainWindow)
{
    AppDriver app(SignedFile(L"setup64.exe"));
    ASSERT_TRUE(app.Started());
    const HWND main = app.WaitForDialog(IDC_PORT_LIST);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(app.Close(main), 0u);
}

}  // namespace
