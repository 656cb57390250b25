#pragma once

#include <map>
#include <string>
#include <vector>

// The translated messages of one gettext PO file (UTF-8), read with libgettextpo.
// Obsolete messages and the header are skipped; fuzzy ones are kept apart, as
// they are not ready to ship.
class CPoCatalog
{
public:
    // False with the reasons in `errors` when the file cannot be read or a
    // message's format string disagrees with its msgid.
    [[nodiscard]] bool Read(const std::string& path, std::vector<std::string>& errors);

    const std::map<std::string, std::string>& GetMessages() const { return m_messages; }
    bool IsFuzzy(const std::string& msgid) const { return m_fuzzy.contains(msgid); }

private:
    std::map<std::string, std::string> m_messages;
    std::map<std::string, bool> m_fuzzy;
};
