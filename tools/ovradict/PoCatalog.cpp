#include "PoCatalog.h"

#include <gettext-po.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <type_traits>

namespace {

// libgettextpo reports through C callbacks without a context pointer.
std::vector<std::string>* g_pErrors = nullptr;

void Report(int severity, const char* filename, size_t line, const char* text)
{
    std::string where = filename != nullptr ? filename : "";
    if (line != static_cast<size_t>(-1) && line != 0)
        where.append(":").append(std::to_string(line));
    const std::string message = where + ": " + (text != nullptr ? text : "");
    if (severity == PO_SEVERITY_FATAL_ERROR) {
        // The library requires that a fatal error does not return.
        std::fprintf(stderr, "ovradict: %s\n", message.c_str());
        std::exit(EXIT_FAILURE);
    }
    if (severity == PO_SEVERITY_ERROR && g_pErrors != nullptr)
        g_pErrors->push_back(message);
    else
        std::fprintf(stderr, "ovradict: warning: %s\n", message.c_str());
}

void OnError(int severity, po_message_t, const char* filename, size_t line, size_t, int, const char* text)
{
    Report(severity, filename, line, text);
}

void OnError2(int severity, po_message_t, const char* filename1, size_t line1, size_t, int, const char* text1,
              po_message_t, const char*, size_t, size_t, int, const char* text2)
{
    Report(severity, filename1, line1, (std::string(text1 ? text1 : "") + " " + (text2 ? text2 : "")).c_str());
}

const po_xerror_handler kHandler = {OnError, OnError2};

struct SFileCloser
{
    void operator()(po_file_t file) const { po_file_free(file); }
};
struct SIteratorCloser
{
    void operator()(po_message_iterator_t iterator) const { po_message_iterator_free(iterator); }
};

} // namespace

bool CPoCatalog::Read(const std::string& path, std::vector<std::string>& errors)
{
    const size_t errorsBefore = errors.size();
    g_pErrors = &errors;
    const std::unique_ptr<std::remove_pointer_t<po_file_t>, SFileCloser> file(po_file_read(path.c_str(), &kHandler));
    if (!file) {
        g_pErrors = nullptr;
        errors.push_back(path + ": cannot be read");
        return false;
    }
    const std::unique_ptr<std::remove_pointer_t<po_message_iterator_t>, SIteratorCloser> messages(po_message_iterator(file.get(), nullptr));
    while (po_message_t message = po_next_message(messages.get())) {
        const std::string msgid = po_message_msgid(message);
        if (msgid.empty() || po_message_is_obsolete(message))
            continue;
        const std::string msgstr = po_message_msgstr(message);
        // An untranslated message (as in the template) has no format to check.
        if (!msgstr.empty())
            po_message_check_format(message, &kHandler);
        m_messages.emplace(msgid, msgstr);
        if (po_message_is_fuzzy(message))
            m_fuzzy.emplace(msgid, true);
    }
    g_pErrors = nullptr;
    return errors.size() == errorsBefore;
}
