#include "tests/support/ProcessLocale.h"

#include <clocale>
#include <gtest/gtest.h>

namespace testsupport {

ScopedProcessLocale::ScopedProcessLocale(const char* name)
{
    const char* previous = std::setlocale(LC_ALL, nullptr);
    m_previous = previous != nullptr ? previous : "C";
    if (std::setlocale(LC_ALL, name) == nullptr)
        ADD_FAILURE() << "The locale " << name << " is not available (generate it: localedef -i ru_RU -f UTF-8 "
                      << "ru_RU.UTF-8, or run scripts/install-deps.sh)";
}

ScopedProcessLocale::~ScopedProcessLocale()
{
    std::setlocale(LC_ALL, m_previous.c_str());
}

} // namespace testsupport
