// Packaged apps' manifests as the published manifest schema writes them:
// identity, applications and startup tasks in both namespaces a startup
// task may be declared in; and the names derived from a package full name.

#include <gtest/gtest.h>

#include <string>

#include "formats/DocumentBytes.h"
#include "platform/formats/AppManifest.h"

namespace lsu::formats {
namespace {

using test::bytesOf;

std::string manifestXml(const std::string& applications) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<Package xmlns=\"http://schemas.microsoft.com/appx/manifest/foundation/windows10\"\n"
           "  xmlns:uap=\"http://schemas.microsoft.com/appx/manifest/uap/windows10\"\n"
           "  xmlns:uap5=\"http://schemas.microsoft.com/appx/manifest/uap/windows10/5\"\n"
           "  xmlns:desktop=\"http://schemas.microsoft.com/appx/manifest/desktop/windows10\"\n"
           "  xmlns:rescap=\"http://schemas.microsoft.com/appx/manifest/foundation/windows10/restrictedcapabilities\"\n"
           "  IgnorableNamespaces=\"uap uap5 desktop rescap\">\n"
           "  <Identity Name=\"Contoso.ChatClient\" Publisher=\"CN=Contoso Software, O=Contoso, C=US\"\n"
           "    Version=\"2.4.17.0\" ProcessorArchitecture=\"x64\" />\n"
           "  <Properties>\n"
           "    <DisplayName>Contoso Chat</DisplayName>\n"
           "    <PublisherDisplayName>Contoso</PublisherDisplayName>\n"
           "    <Logo>Assets\\StoreLogo.png</Logo>\n"
           "  </Properties>\n"
           "  <Dependencies>\n"
           "    <TargetDeviceFamily Name=\"Windows.Desktop\" MinVersion=\"10.0.17763.0\" "
           "MaxVersionTested=\"10.0.22621.0\" />\n"
           "  </Dependencies>\n"
           "  <Resources><Resource Language=\"en-us\" /></Resources>\n"
           "  <Applications>\n" +
           applications +
           "  </Applications>\n"
           "  <Capabilities><rescap:Capability Name=\"runFullTrust\" /></Capabilities>\n"
           "</Package>\n";
}

constexpr const char* kChatApplication =
    "<Application Id=\"ChatClient\" Executable=\"Chat\\ChatClient.exe\" EntryPoint=\"Windows.FullTrustApplication\">\n"
    "  <uap:VisualElements DisplayName=\"Contoso Chat\" Description=\"Chat\" BackgroundColor=\"transparent\"\n"
    "    Square150x150Logo=\"Assets\\Square150.png\" Square44x44Logo=\"Assets\\Square44.png\" />\n"
    "  <Extensions>\n"
    "    <uap5:Extension Category=\"windows.startupTask\" Executable=\"Chat\\ChatTray.exe\"\n"
    "      EntryPoint=\"Windows.FullTrustApplication\">\n"
    "      <uap5:StartupTask TaskId=\"ChatTray\" Enabled=\"true\" DisplayName=\"Contoso Chat in the tray\" />\n"
    "    </uap5:Extension>\n"
    "    <desktop:Extension Category=\"windows.startupTask\" Executable=\"Chat\\Sync.exe\"\n"
    "      EntryPoint=\"Windows.FullTrustApplication\">\n"
    "      <desktop:StartupTask TaskId=\"ChatSync\" Enabled=\"false\" DisplayName=\"ms-resource:SyncTaskName\" />\n"
    "    </desktop:Extension>\n"
    "    <uap5:Extension Category=\"windows.appExecutionAlias\" Executable=\"Chat\\ChatClient.exe\"\n"
    "      EntryPoint=\"Windows.FullTrustApplication\">\n"
    "      <uap5:AppExecutionAlias><uap5:ExecutionAlias Alias=\"chat.exe\" /></uap5:AppExecutionAlias>\n"
    "    </uap5:Extension>\n"
    "  </Extensions>\n"
    "</Application>\n";

constexpr const char* kHelperApplication =
    "<Application Id=\"Helper\" Executable=\"Helper\\Helper.exe\" EntryPoint=\"Windows.FullTrustApplication\">\n"
    "  <Extensions>\n"
    "    <uap5:Extension Category=\"windows.startupTask\">\n"
    "      <uap5:StartupTask TaskId=\"HelperAtLogon\" />\n"
    "    </uap5:Extension>\n"
    "  </Extensions>\n"
    "</Application>\n";

Result<AppManifest> read(const std::string& document) { return readAppManifest(bytesOf(document)); }

class AppManifestTest : public ::testing::Test {
protected:
    const Result<AppManifest> manifest = read(manifestXml(std::string(kChatApplication) + kHelperApplication));
    void SetUp() override { ASSERT_TRUE(manifest) << manifest.error().message; }
};

TEST_F(AppManifestTest, IdentityPropertiesAndEachApplicationAreRead) {
    EXPECT_EQ(manifest->identity,
              (PackageIdentity{"Contoso.ChatClient", "CN=Contoso Software, O=Contoso, C=US", "2.4.17.0", "x64", ""}));
    EXPECT_EQ(manifest->displayName, "Contoso Chat");
    EXPECT_EQ(manifest->applications, (std::vector<PackageApplication>{{"ChatClient", "Chat\\ChatClient.exe"},
                                                                       {"Helper", "Helper\\Helper.exe"}}));
}

TEST_F(AppManifestTest, StartupTasksOfBothNamespacesAreReadInOrder) {
    const std::vector<PackageStartupTask> expected = {
        {"ChatTray", true, "Contoso Chat in the tray", "Chat\\ChatTray.exe", "ChatClient"},
        {"ChatSync", false, "ms-resource:SyncTaskName", "Chat\\Sync.exe", "ChatClient"},
        // No Enabled: the schema's default; no Executable: the application's.
        {"HelperAtLogon", true, "", "Helper\\Helper.exe", "Helper"},
    };
    EXPECT_EQ(manifest->startupTasks, expected);
}

TEST(AppManifest, NamespacesAreMatchedByTheirUrisNotByTheirPrefixes) {
    const std::string application =
        "<Application Id='A' Executable='a.exe'><Extensions>"
        "<s:Extension xmlns:s='http://schemas.microsoft.com/appx/manifest/uap/windows10/5' "
        "Category='windows.startupTask'><s:StartupTask TaskId='Renamed'/></s:Extension>"
        "<uap5:Extension xmlns:uap5='urn:not-the-manifest' Category='windows.startupTask'>"
        "<uap5:StartupTask TaskId='Impostor'/></uap5:Extension>"
        "</Extensions></Application>";
    auto manifest = read(manifestXml(application));
    ASSERT_TRUE(manifest) << manifest.error().message;
    ASSERT_EQ(manifest->startupTasks.size(), 1u);
    EXPECT_EQ(manifest->startupTasks[0].taskId, "Renamed");
}

TEST(AppManifest, AWindows8ManifestIsReadWithoutStartupTasks) {
    auto manifest = read(
        "<Package xmlns='http://schemas.microsoft.com/appx/2010/manifest'>"
        "<Identity Name='Old.App' Publisher='CN=Old' Version='1.0.0.0' ResourceId='split'/>"
        "<Properties><DisplayName>ms-resource:AppName</DisplayName></Properties>"
        "<Applications><Application Id='App' Executable='old.exe' EntryPoint='Old.App'/></Applications></Package>");
    ASSERT_TRUE(manifest) << manifest.error().message;
    EXPECT_EQ(manifest->identity, (PackageIdentity{"Old.App", "CN=Old", "1.0.0.0", "neutral", "split"}));
    EXPECT_EQ(manifest->displayName, "ms-resource:AppName");
    EXPECT_TRUE(manifest->startupTasks.empty());
}

struct DamagedCase {
    const char* what;
    std::string document;
};

TEST(AppManifest, ManifestsThatCouldNotHaveBeenInstalledAreDamaged) {
    const std::string manifest = manifestXml(kChatApplication);
    const DamagedCase cases[] = {
        {"cut short", manifest.substr(0, manifest.size() / 2)},
        {"another root", "<Manifest xmlns='http://schemas.microsoft.com/appx/manifest/foundation/windows10'/>"},
        {"no namespace", "<Package><Identity Name='A.B' Publisher='CN=A'/></Package>"},
        {"no identity", "<Package xmlns='http://schemas.microsoft.com/appx/manifest/foundation/windows10'/>"},
        {"an identity without a publisher",
         "<Package xmlns='http://schemas.microsoft.com/appx/manifest/foundation/windows10'>"
         "<Identity Name='A.B'/></Package>"},
        {"a startup task without a TaskId",
         manifestXml("<Application Id='A'><Extensions><uap5:Extension Category='windows.startupTask'>"
                     "<uap5:StartupTask Enabled='true'/></uap5:Extension></Extensions></Application>")},
        {"a startup task extension without its task",
         manifestXml("<Application Id='A'><Extensions><desktop:Extension Category='windows.startupTask'/>"
                     "</Extensions></Application>")},
        {"an Enabled that is no boolean",
         manifestXml("<Application Id='A'><Extensions><uap5:Extension Category='windows.startupTask'>"
                     "<uap5:StartupTask TaskId='T' Enabled='yes'/></uap5:Extension></Extensions></Application>")},
    };
    for (const DamagedCase& c : cases) {
        auto read = readAppManifest(bytesOf(c.document));
        ASSERT_FALSE(read) << c.what;
        EXPECT_EQ(read.error().kind, ErrorKind::DamagedData) << c.what;
    }
}

struct FamilyCase {
    const char* fullName;
    const char* familyName;  // nullptr when the full name is refused
};

TEST(AppManifest, TheFamilyNameIsTheFullNamesNameAndPublisherId) {
    const FamilyCase cases[] = {
        {"Contoso.ChatClient_2.4.17.0_x64__8wekyb3d8bbwe", "Contoso.ChatClient_8wekyb3d8bbwe"},
        {"Microsoft.WindowsStore_22301.1401.6.0_neutral_~_8wekyb3d8bbwe", "Microsoft.WindowsStore_8wekyb3d8bbwe"},
        {"Contoso.App_1.0.0.0_arm64_split.scale-125_abcdefghjkmnp", "Contoso.App_abcdefghjkmnp"},
        {"A-1_65535.0.0.65535_x86a64__0123456789abc", "A-1_0123456789abc"},
        {"Aa0.Zz9_1.2.3.4_arm__0123456789azz", "Aa0.Zz9_0123456789azz"},
        {"Contoso.App_1..0.0_x64__8wekyb3d8bbwe", nullptr},
        {"Contoso.App_1.0.0.0._x64__8wekyb3d8bbwe", nullptr},
        {"Contoso.App_1.0.0.-1_x64__8wekyb3d8bbwe", nullptr},
        {"", nullptr},
        {"Contoso.App_1.0.0.0_x64_8wekyb3d8bbwe", nullptr},
        {"Contoso.App_1.0.0.0_x64___8wekyb3d8bbwe", nullptr},
        {"Contoso.App_1.0.0_x64__8wekyb3d8bbwe", nullptr},
        {"Contoso.App_1.0.0.65536_x64__8wekyb3d8bbwe", nullptr},
        {"Contoso.App_1.0.0.x_x64__8wekyb3d8bbwe", nullptr},
        {"Contoso.App_1.0.0.0_mips__8wekyb3d8bbwe", nullptr},
        {"Contoso.App_1.0.0.0_x64__8wekyb3d8bbw", nullptr},
        {"Contoso\\..\\App_1.0.0.0_x64__8wekyb3d8bbwe", nullptr},
        {"Contoso.App_1.0.0.0_x64__8wekyb3d8bb\\e", nullptr},
        {"Ab_1.0.0.0_x64__8wekyb3d8bbwe", nullptr},
    };
    for (const FamilyCase& c : cases) {
        auto family = packageFamilyName(c.fullName);
        if (c.familyName) {
            EXPECT_EQ(family, Result<std::string>(std::string(c.familyName))) << c.fullName;
        } else {
            ASSERT_FALSE(family) << c.fullName;
            EXPECT_EQ(family.error().kind, ErrorKind::DamagedData) << c.fullName;
        }
    }
}

TEST(AppManifest, ResourceReferencesAreToldFromText) {
    EXPECT_TRUE(isResourceReference("ms-resource:AppName"));
    EXPECT_TRUE(isResourceReference("MS-Resource://Contoso.App/Resources/AppName"));
    EXPECT_FALSE(isResourceReference("Contoso Chat"));
    EXPECT_FALSE(isResourceReference("ms-resource"));
    EXPECT_FALSE(isResourceReference(""));
}

}  // namespace
}  // namespace lsu::formats
