#include "core/ApplicationErrors.h"

#include <cstdio>
#include <utility>

namespace {

ApplicationExceptionReporter& currentReporter()
{
    static ApplicationExceptionReporter reporter;
    return reporter;
}

} // namespace

ApplicationExceptionReporter SetApplicationExceptionReporter(ApplicationExceptionReporter reporter)
{
    return std::exchange(currentReporter(), std::move(reporter));
}

void ReportApplicationException(const std::exception& failure)
{
    if (const auto& reporter = currentReporter()) {
        reporter(failure);
        return;
    }
    std::fprintf(stderr, "%s\n", failure.what());
}
