// The standard library reports a container's misuse through these functions. Its own
// versions build std::logic_error and its kin, whose copy-on-write message strings drag
// two complete string instantiations (some 80 KB) into every installer. Nothing in the
// installer catches those types; what callers catch (std::bad_alloc, std::exception, or
// anything) still sees the same exception here.

#include <exception>
#include <new>

namespace {

class CStdLibraryError final : public std::exception
{
public:
    // The library passes string literals: the pointer stays valid for ever.
    explicit CStdLibraryError(const char* pszWhat) noexcept : m_pszWhat(pszWhat) {}
    const char* what() const noexcept override { return m_pszWhat; }

private:
    const char* m_pszWhat;
};

} // namespace

namespace std {

void __throw_bad_alloc()
{
    throw std::bad_alloc();
}

void __throw_bad_array_new_length()
{
    throw std::bad_array_new_length();
}

void __throw_length_error(const char* pszWhat)
{
    throw CStdLibraryError(pszWhat);
}

void __throw_logic_error(const char* pszWhat)
{
    throw CStdLibraryError(pszWhat);
}

void __throw_out_of_range(const char* pszWhat)
{
    throw CStdLibraryError(pszWhat);
}

// The format's arguments are left out: the message names the operation that failed.
void __throw_out_of_range_fmt(const char* pszFormat, ...)
{
    throw CStdLibraryError(pszFormat);
}

void __throw_invalid_argument(const char* pszWhat)
{
    throw CStdLibraryError(pszWhat);
}

} // namespace std
