#include "SourceTree.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <system_error>

#ifdef _WIN32
#include <io.h>

#include <cerrno>
#include <cstring>
#endif

#include "payload/CodePage1252.h"
#include "payload/PayloadPath.h"
#include "payload/PayloadNameRules.h"
#include "tools/ovrapack/io/PathText.h"

namespace fs = std::filesystem;

namespace {

using PathText::Display;

// Built by appending: GCC 12 warns falsely about literal + temporary string.
std::string Quoted(const std::string& text)
{
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    quoted += text;
    quoted += '"';
    return quoted;
}

bool IsReservedDeviceName(std::string_view component)
{
    std::string stem(component.substr(0, component.find('.')));
    for (char& c : stem)
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    static constexpr std::array<std::string_view, 4> kPlain = {"CON", "PRN", "AUX", "NUL"};
    if (std::find(kPlain.begin(), kPlain.end(), stem) != kPlain.end())
        return true;
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '1' && stem[3] <= '9';
}

// Upper case as Windows compares names; enough of 1252 to catch names that the
// installing machine would see as one.
std::string FoldCase(const std::string& name)
{
    std::string folded = name;
    for (char& c : folded) {
        const auto byte = static_cast<uint8_t>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7))
            c = static_cast<char>(byte - 0x20);
        else if (byte == 0x9A || byte == 0x9C || byte == 0x9E)
            c = static_cast<char>(byte - 0x10);
        else if (byte == 0xFF)
            c = static_cast<char>(0x9F);
    }
    return folded;
}

} // namespace

std::string CSourceTree::NameProblem(const std::string& name)
{
    if (name.empty())
        return "empty name";
    if (name.size() > kMaximumNameLength)
        return "name longer than " + std::to_string(kMaximumNameLength) + " bytes";
    for (const char c : name) {
        const auto byte = static_cast<uint8_t>(c);
        if (byte < 0x20 || std::string_view("<>:\"/|?*").find(c) != std::string_view::npos)
            return "name holds a character Windows forbids in file names";
    }
    size_t start = 0;
    while (true) {
        const size_t end = name.find('\\', start);
        const std::string_view component =
            std::string_view(name).substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (component.empty() || component == "." || component == "..")
            return "name has an empty, \".\" or \"..\" component";
        if (component.back() == '.' || component.back() == ' ')
            return "a name component ends in a dot or space, which Windows drops";
        if (IsReservedDeviceName(component))
            return "a name component is a device name Windows reserves";
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    // The installer stages the data section in this file while it extracts.
    if (CPayloadNameRules::IsTemporaryDataName(name))
        return "the name \"temp.htar\" is taken by the installer's temporary data file";
    return {};
}

#ifdef _WIN32
// The runtime's directory walk and stat stop at the classic limit on Windows; its
// searches take the form of any length.
bool CSourceTree::ScanWindowsFolder(const fs::path& root, const fs::path& folder, std::string& error)
{
    const std::wstring pattern = CPayloadPath(folder / L"*").ForSystem().Native();
    struct _wfinddata64_t data {};
    const intptr_t search = pattern.empty() ? -1 : _wfindfirst64(pattern.c_str(), &data);
    if (search == -1) {
        error = "cannot read source folder \"" + Display(folder) + "\": " + std::strerror(errno);
        return false;
    }
    m_folders.push_back(folder);
    bool empty = true;
    bool ok = true;
    do {
        const std::wstring name = data.name;
        if (name == L"." || name == L"..")
            continue;
        empty = false;
        const fs::path path = folder / name;
        if ((data.attrib & _A_SUBDIR) != 0)
            ok = ScanWindowsFolder(root, path, error);
        else
            ok = AddFile(root, path, static_cast<uint64_t>(data.size), error);
    } while (ok && _wfindnext64(search, &data) == 0);
    _findclose(search);
    if (ok && empty && folder != root)
        m_warnings.push_back("empty folder \"" + Display(folder) + "\" is left out: the package carries files only");
    return ok;
}
#endif

bool CSourceTree::Scan(const fs::path& root, std::string& error)
{
    m_entries.clear();
    m_warnings.clear();
    m_folders.clear();
#ifdef _WIN32
    if (!ScanWindowsFolder(root, root, error))
        return false;
#else
    std::error_code ec;
    if (!fs::is_directory(root, ec)) {
        error = "source folder \"" + Display(root) + "\" " + (ec ? "cannot be read: " + ec.message() : "is not a folder");
        return false;
    }
    m_folders.push_back(root);
    fs::recursive_directory_iterator it(root, fs::directory_options::none, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const fs::directory_entry& entry = *it;
        std::error_code statError;
        const fs::file_status status = entry.status(statError);
        if (statError) {
            error = "cannot read \"" + Display(entry.path()) + "\": " + statError.message();
            return false;
        }
        if (fs::is_directory(status)) {
            if (entry.is_symlink(statError)) {
                m_warnings.push_back("folder link \"" + Display(entry.path()) + "\" is not followed");
            } else if (fs::is_empty(entry.path(), statError)) {
                m_warnings.push_back("empty folder \"" + Display(entry.path()) +
                                     "\" is left out: the package carries files only");
            }
            if (!entry.is_symlink(statError))
                m_folders.push_back(entry.path());
            continue;
        }
        if (!fs::is_regular_file(status)) {
            error = Quoted(Display(entry.path())) + " is neither a file nor a folder";
            return false;
        }
        const uint64_t size = entry.file_size(statError);
        if (statError) {
            error = "cannot read the size of \"" + Display(entry.path()) + "\": " + statError.message();
            return false;
        }
        if (!AddFile(root, entry.path(), size, error))
            return false;
    }
    if (ec) {
        error = "cannot read source folder \"" + Display(root) + "\": " + ec.message();
        return false;
    }
#endif
    if (m_entries.size() > kMaximumFiles) {
        error = "source folder holds " + std::to_string(m_entries.size()) + " files; a package holds at most " +
                std::to_string(kMaximumFiles);
        return false;
    }
    std::sort(m_entries.begin(), m_entries.end(),
              [](const SEntry& a, const SEntry& b) { return a.strName < b.strName; });
    return CheckCaseCollisions(error);
}

bool CSourceTree::AddFile(const fs::path& root, const fs::path& path, uint64_t size, std::string& error)
{
    if (size > kMaximumFileSize) {
        error = Quoted(Display(path)) + " has " + std::to_string(size) +
                " bytes; a packaged file must be smaller than 4 GiB";
        return false;
    }
    std::string utf8;
    for (const fs::path& part : path.lexically_relative(root)) {
        const std::string component = Display(part);
        if (component.find('\\') != std::string::npos) {
            error = Quoted(Display(path)) + ": a name holding a backslash cannot be packaged";
            return false;
        }
        if (!utf8.empty())
            utf8 += '\\';
        utf8 += component;
    }
    SEntry entry;
    if (!CodePage1252::FromUtf8(utf8, entry.strName)) {
        error = Quoted(Display(path)) + ": the name cannot be written in code page 1252";
        return false;
    }
    const std::string problem = NameProblem(entry.strName);
    if (!problem.empty()) {
        error = Quoted(Display(path)) + ": " + problem;
        return false;
    }
    if (std::any_of(entry.strName.begin(), entry.strName.end(), [](char c) { return static_cast<uint8_t>(c) >= 0x80; }))
        m_warnings.push_back("\"" + utf8 + "\" is not plain ASCII: it comes out right only where the installing "
                             "machine's ANSI code page is 1252");
    entry.path = path;
    entry.nSize = size;
    m_entries.push_back(std::move(entry));
    return true;
}

bool CSourceTree::CheckCaseCollisions(std::string& error) const
{
    std::vector<std::pair<std::string, size_t>> folded;
    folded.reserve(m_entries.size());
    for (size_t i = 0; i < m_entries.size(); ++i)
        folded.emplace_back(FoldCase(m_entries[i].strName), i);
    std::sort(folded.begin(), folded.end());
    for (size_t i = 1; i < folded.size(); ++i) {
        if (folded[i].first == folded[i - 1].first) {
            error = Quoted(CodePage1252::ToUtf8(m_entries[folded[i - 1].second].strName)) + " and \"" +
                    CodePage1252::ToUtf8(m_entries[folded[i].second].strName) +
                    "\" differ only in case and would be one file on Windows";
            return false;
        }
    }
    return true;
}

uint64_t CSourceTree::TotalSize() const
{
    uint64_t total = 0;
    for (const auto& entry : m_entries)
        total += entry.nSize;
    return total;
}
