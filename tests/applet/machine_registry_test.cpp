// GetMachineName against registry contents set by the test, through the
// real registry of the wine prefix.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <string>

#include "applet/machine.h"
#include "platform/kernel.h"

namespace {

const char windowsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char ntKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const char winlogonKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

struct Value {
    const char* key;
    const char* name;
};
const Value allValues[] = {
    {windowsKey, "RegisteredOwner"}, {windowsKey, "RegisteredOrganization"}, {ntKey, "RegisteredOwner"},
    {ntKey, "RegisteredOrganization"}, {winlogonKey, "DefaultUserName"},    {winlogonKey, "AltDefaultUserName"},
};

std::optional<std::string> Read(const Value& v)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, v.key, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    char text[1024];
    DWORD size = sizeof text;
    LONG r = RegQueryValueExA(key, v.name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(text, size ? size - 1 : 0);
}

void Write(const Value& v, const std::optional<std::string>& text)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, v.key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    if (text)
        RegSetValueExA(key, v.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text->c_str()),
                       static_cast<DWORD>(text->size() + 1));
    else
        RegDeleteValueA(key, v.name);
    RegCloseKey(key);
}

unsigned long serialAnswer;
bool serialReadable;
bool FakeSerial(unsigned long* serial)
{
    *serial = serialAnswer;
    return serialReadable;
}

class MachineName : public testing::Test {
protected:
    void SetUp() override
    {
        for (const Value& v : allValues) {
            saved.emplace_back(Read(v));
            Write(v, std::nullopt);
        }
        realSerial = GetSystemVolumeSerial;
    }
    void TearDown() override
    {
        for (size_t i = 0; i < saved.size(); ++i)
            Write(allValues[i], saved[i]);
        GetSystemVolumeSerial = realSerial;
    }

    void Set(const char* key, const char* name, const std::string& text) { Write(Value{key, name}, text); }

    std::pair<std::string, std::string> Names()
    {
        char owner[MACHINE_NAME_SIZE], organisation[MACHINE_NAME_SIZE];
        std::memset(owner, 'x', sizeof owner);
        std::memset(organisation, 'x', sizeof organisation);
        EXPECT_EQ(GetMachineName(owner, organisation), 1);
        return {owner, organisation};
    }

    std::vector<std::optional<std::string>> saved;
    bool (*realSerial)(unsigned long*) = nullptr;
};

using NamePair = std::pair<std::string, std::string>;

TEST_F(MachineName, FirstKeyWithBothNames)
{
    Set(windowsKey, "RegisteredOwner", "Ada");
    Set(windowsKey, "RegisteredOrganization", "Engines Ltd");
    Set(ntKey, "RegisteredOwner", "Not read");
    Set(ntKey, "RegisteredOrganization", "Not read either");
    EXPECT_EQ(Names(), (NamePair{"Ada", "Engines Ltd"}));
}

TEST_F(MachineName, SecondKeyReplacesTheOwnerWhenTheOrganisationIsMissing)
{
    Set(windowsKey, "RegisteredOwner", "Ada");
    Set(ntKey, "RegisteredOwner", "Grace");
    Set(ntKey, "RegisteredOrganization", "Navy");
    EXPECT_EQ(Names(), (NamePair{"Grace", "Navy"}));
}

TEST_F(MachineName, SecondKeyWithoutAnOwnerKeepsTheFirst)
{
    Set(windowsKey, "RegisteredOwner", "Ada");
    Set(ntKey, "RegisteredOrganization", "Navy");
    EXPECT_EQ(Names(), (NamePair{"Ada", "Navy"}));
}

TEST_F(MachineName, DefaultUserName)
{
    Set(winlogonKey, "DefaultUserName", "alice");
    Set(winlogonKey, "AltDefaultUserName", "not read");
    EXPECT_EQ(Names(), (NamePair{"alice", ""}));
}

TEST_F(MachineName, AltDefaultUserName)
{
    Set(winlogonKey, "AltDefaultUserName", "bob");
    EXPECT_EQ(Names(), (NamePair{"bob", ""}));
}

TEST_F(MachineName, OverlongValueCountsAsMissing)
{
    Set(windowsKey, "RegisteredOwner", std::string(300, 'a'));
    Set(winlogonKey, "DefaultUserName", "carol");
    EXPECT_EQ(Names(), (NamePair{"carol", ""}));
}

TEST_F(MachineName, VolumeSerial)
{
    GetSystemVolumeSerial = FakeSerial;
    serialAnswer = 99;
    serialReadable = true;
    EXPECT_EQ(Names(), (NamePair{"User 99", ""}));
    serialAnswer = 4000000000ul;
    EXPECT_EQ(Names(), (NamePair{"User 4000000000", ""}));
}

TEST_F(MachineName, RealVolumeSerial)
{
    char directory[MAX_PATH];
    ASSERT_NE(GetWindowsDirectoryA(directory, MAX_PATH), 0u);
    const char root[4] = {directory[0], ':', '\\', '\0'};
    DWORD serial = 0;
    ASSERT_TRUE(GetVolumeInformationA(root, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(Names().first, "User " + std::to_string(serial));
}

TEST_F(MachineName, UnknownUser)
{
    GetSystemVolumeSerial = FakeSerial;
    serialReadable = false;
    EXPECT_EQ(Names(), (NamePair{"Unknown user", ""}));
}

}  // namespace
