// The export file name and format from any chosen name and dialog filter.
// Input: the name, a line end, the filter (UTF-8).

#include <QFileInfo>
#include <QString>

#include <cstdint>

#include "fuzzcheck.h"
#include "records/chartexport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QString input = QString::fromUtf8(reinterpret_cast<const char *>(bytes), int(size));
    const int split = input.indexOf(QLatin1Char('\n'));
    const QString chosen = split < 0 ? input : input.left(split);
    const QString filter = split < 0 ? QString() : input.mid(split + 1);

    const ExportTarget target = exportTarget(chosen, filter);
    // The operator's name is kept as typed; at most a suffix is added.
    FUZZ_CHECK(target.path.startsWith(chosen));
    if (!QFileInfo(chosen).suffix().isEmpty())
        FUZZ_CHECK(target.path == chosen);
    if (target.path != chosen)
        FUZZ_CHECK(target.path.at(chosen.size()) == QLatin1Char('.') && filter.contains(target.path.mid(chosen.size())));
    const QString suffix = QFileInfo(target.path).suffix();
    const char *const names[] = {nullptr, "bmp", "jpg", "pdf"};
    if (target.format != ChartFormat::Unsupported)
        FUZZ_CHECK(suffix.compare(QLatin1String(names[int(target.format)]), Qt::CaseInsensitive) == 0);
    return 0;
}
