#pragma once

#include <string>

namespace testsupport {

// The C runtime's locale (LC_ALL) for the lifetime of the object, as QApplication would set it
// from the user's environment; the previous one is restored afterwards. A locale this machine
// has not generated fails the running test instead of quietly staying in "C".
class ScopedProcessLocale
{
public:
    explicit ScopedProcessLocale(const char* name);
    ~ScopedProcessLocale();
    ScopedProcessLocale(const ScopedProcessLocale&) = delete;
    ScopedProcessLocale& operator=(const ScopedProcessLocale&) = delete;

private:
    std::string m_previous;
};

// The locales the program's users and our CI run under.
inline constexpr const char* RussianLocale = "ru_RU.UTF-8";
inline constexpr const char* ProcessLocales[] = {"C.UTF-8", RussianLocale};

} // namespace testsupport
