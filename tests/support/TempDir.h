// SPDX-License-Identifier: Apache-2.0
// A fresh directory for one test, removed with everything in it afterwards.
#ifndef KELM_TESTS_TEMPDIR_H
#define KELM_TESTS_TEMPDIR_H

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <vector>

class TempDir
{
public:
    TempDir()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelm-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
        {
            throw std::runtime_error("mkdtemp failed");
        }
        m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;
        // Undo any permission a test took away from a folder, so the tree can
        // be removed. Only folders, and never through a link: a test's link
        // may lead to a device (/dev/null) that is not the test's to change.
        for (auto it = std::filesystem::recursive_directory_iterator(m_path, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        {
            std::error_code kind;
            if (!it->is_symlink(kind) && it->is_directory(kind))
            {
                ::chmod(it->path().c_str(), 0755);
            }
        }
        ::chmod(m_path.c_str(), 0755);
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline bool FileExists(const std::string& path)
{
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0;
}

// The names in directory, sorted, without "." and "..".
inline std::vector<std::string> Entries(const std::string& directory)
{
    std::vector<std::string> names;
    if (DIR* d = ::opendir(directory.c_str()))
    {
        while (dirent* e = ::readdir(d))
        {
            const std::string name = e->d_name;
            if (name != "." && name != "..")
            {
                names.push_back(name);
            }
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

#endif
