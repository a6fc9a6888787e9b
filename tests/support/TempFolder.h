#pragma once
// A fresh folder of its own for one test, removed with everything in it when
// the object goes (folders a test left without write permission included).
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

#ifdef QT_CORE_LIB
#include <QString>
#endif

class TTempFolder {
public:
    // Under `root`, by default the system's temporary folder.
    explicit TTempFolder(
        const std::filesystem::path& root = std::filesystem::temp_directory_path()) {
        std::string pattern = (root / "korvana-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("no temporary folder in " + root.string());
        path_ = pattern;
    }
    ~TTempFolder() {
        namespace fs = std::filesystem;
        std::error_code error;
        for (auto it = fs::recursive_directory_iterator(path_, error); !error && it != fs::end(it);
             it.increment(error))
            if (it->is_directory(error) && !it->is_symlink(error))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
        fs::remove_all(path_, error);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The path of `name` inside the folder.
    std::string File(const std::string& name) const { return (path_ / name).string(); }

#ifdef QT_CORE_LIB
    QString QtPath() const { return QString::fromStdString(path_.string()); }
    QString QtFile(const QString& name) const { return QtPath() + u'/' + name; }
#endif

private:
    std::filesystem::path path_;
};
