#include "launch/VersionResource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& bytes, std::size_t at, std::size_t value)
{
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void Pad(Bytes& bytes)
{
    bytes.resize((bytes.size() + 3) & ~std::size_t{3});
}

// One node as resource compilers write it; statedLength, when given, is written in place of
// the true one.
Bytes Node(const std::u16string& key, const Bytes& value, std::uint16_t valueLength, bool text,
    const std::vector<Bytes>& children = {}, std::size_t statedLength = 0)
{
    Bytes node(6);
    Put16(node, 2, valueLength);
    Put16(node, 4, text ? 1 : 0);
    for (const char16_t c : key + u'\0')
        node.insert(node.end(), {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>(c >> 8)});
    Pad(node);
    node.insert(node.end(), value.begin(), value.end());
    for (const Bytes& child : children) {
        Pad(node);
        node.insert(node.end(), child.begin(), child.end());
    }
    Put16(node, 0, statedLength ? statedLength : node.size());
    return node;
}

Bytes Text(const std::u16string& text)
{
    Bytes bytes;
    for (const char16_t c : text + u'\0')
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>(c >> 8)});
    return bytes;
}

Bytes Company(const std::u16string& name, std::size_t valueLength = 0)
{
    return Node(u"CompanyName", Text(name), static_cast<std::uint16_t>(valueLength ? valueLength : name.size() + 1), true);
}

Bytes Resource(const std::vector<Bytes>& tables, const Bytes& translation)
{
    const Bytes fixed(52);
    return Node(u"VS_VERSION_INFO", fixed, 52, false,
        {Node(u"StringFileInfo", {}, 0, false, tables),
            Node(u"VarFileInfo", {}, 0, false, {Node(u"Translation", translation, static_cast<std::uint16_t>(translation.size()), false)})});
}

const Bytes kGerman = {0x07, 0x04, 0xE4, 0x04};

TEST(VersionResourceTest, CompanyOfMadeUpResources)
{
    Bytes pastTheEnd = Resource({Node(u"040904B0", {}, 0, false, {Company(u"Contoso")})}, kGerman);
    Put16(pastTheEnd, 0, pastTheEnd.size() + 4);
    const struct {
        const char* what;
        Bytes resource;
        std::wstring company;
    } cases[] = {
        {"keys in any case", Resource({Node(u"040704e4", {}, 0, false, {Node(u"companyNAME", Text(u"Firma"), 6, true)})}, kGerman),
            L"Firma"},
        {"the listed translation before US English",
            Resource({Node(u"040904B0", {}, 0, false, {Company(u"Contoso")}), Node(u"040704E4", {}, 0, false, {Company(u"Firma")})}, kGerman),
            L"Firma"},
        {"an empty claim falls back", Resource({Node(u"040704E4", {}, 0, false, {Company(u"")}), Node(u"040904E4", {}, 0, false, {Company(u"Contoso")})}, kGerman),
            L"Contoso"},
        {"a translation too short is skipped", Resource({Node(u"040904B0", {}, 0, false, {Company(u"Contoso")})}, {0x07, 0x04}),
            L"Contoso"},
        {"a value longer than its node stops at the node",
            Resource({Node(u"040904B0", {}, 0, false, {Node(u"CompanyName", Bytes{'C', 0, 'o', 0, 'n', 0, 't', 0}, 500, true)})}, kGerman),
            L"Cont"},
        {"a child longer than its parent",
            Resource({Node(u"040904B0", {}, 0, false, {Node(u"CompanyName", Text(u"Contoso"), 8, true, {}, 200)})}, kGerman), L""},
        {"a root longer than the resource", pastTheEnd, L""},
        {"a key without its end", Bytes{10, 0, 0, 0, 1, 0, 'V', 0, 'S', 0}, L""},
        {"nothing", {}, L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qm::CompanyInVersionInfo(c.resource), c.company) << c.what;
}

} // namespace
