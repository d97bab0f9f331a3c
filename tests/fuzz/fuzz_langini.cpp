// The two readers of lang.ini on any file content, opened as the program opens it.

#include <QBuffer>

#include <cstdint>

#include "app/langini.h"
#include "fuzzcheck.h"

namespace {
template <typename Reader>
int readChoice(const QByteArray &content, Reader reader)
{
    QByteArray bytes = content;
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly | QIODevice::Text);
    return reader(file);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(bytes), int(size));
    const int startup = readChoice(content, LangIni::startupChoice);
    const int dialog = readChoice(content, LangIni::dialogChoice);
    FUZZ_CHECK(startup == LangIni::System || startup == LangIni::English || startup == LangIni::Chinese);
    // The dialog's line is the first counting line, so a language it shows is also
    // the one the program started in.
    if (dialog == LangIni::English || dialog == LangIni::Chinese)
        FUZZ_CHECK(startup == dialog);
    return 0;
}
