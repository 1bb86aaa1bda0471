// Linked into every test program: the process makes a home and XDG folders of its own before
// main() runs, and removes them when it ends. ctest starts each case as its own process, so
// remembered folders, file-dialog history and web caches never pass from one case, or one run,
// to the next. Programs the tests start inherit the folders.
#include "platform/core/SettingsStore.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

namespace
{
// The machine scope of the settings lives beside the program, where all test processes of one
// program would share it and race on it: each case starts with one in its process's home
// instead, also after an earlier case pointed the scopes elsewhere and back to the defaults.
class MachineScope : public testing::EmptyTestEventListener
{
public:
    explicit MachineScope(const std::filesystem::path& folder)
        : m_folder(QString::fromStdString(folder.string()))
    {
    }

private:
    void OnTestStart(const testing::TestInfo&) override { CSettingsStore::SetLocations({}, m_folder); }

    const QString m_folder;
};

class TestHome
{
public:
    TestHome()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kv-test-home-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        m_root = pattern;
        Use("HOME", m_root);
        Use("XDG_CONFIG_HOME", m_root / ".config");
        Use("XDG_DATA_HOME", m_root / ".local/share");
        Use("XDG_STATE_HOME", m_root / ".local/state");
        Use("XDG_CACHE_HOME", m_root / ".cache");
        // The runtime folder must be private to its user, or Qt refuses it.
        const std::filesystem::path runtime = m_root / "runtime";
        mkdir(runtime.c_str(), 0700);
        Use("XDG_RUNTIME_DIR", runtime);
        testing::UnitTest::GetInstance()->listeners().Append(new MachineScope(m_root / "machine"));
    }
    ~TestHome()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

private:
    static void Use(const char* variable, const std::filesystem::path& folder)
    {
        std::filesystem::create_directories(folder);
        setenv(variable, folder.c_str(), 1);
    }

    std::filesystem::path m_root;
};

const TestHome home;
} // namespace
