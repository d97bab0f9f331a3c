#include "analysis/jsonlayout.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cstring>

namespace {

class LayoutScanner
{
public:
    LayoutScanner(const QByteArray &json, JsonLayout &layout)
        : at(json.constData())
        , end(at + json.size())
        , layout(layout)
    {
    }

    void value(const QString &path)
    {
        skipBlanks();
        if (at == end)
            return;
        if (depth == MaxDepth) {  // deeper than Qt's parser accepts: not JSON it would read
            at = end;
            return;
        }
        const DepthGuard guard(depth);
        if (*at == '{')
            object(path);
        else if (*at == '[')
            array(path);
        else if (*at == '"')
            string();
        else
            do  // a number, true, false or null; at least one byte, so that any text ends
                ++at;
            while (at != end && *at != '\0' && !std::strchr(",]} \t\r\n", *at));
    }

private:
    static constexpr int MaxDepth = 1024;

    struct DepthGuard
    {
        explicit DepthGuard(int &depth) : depth(depth) { ++depth; }
        ~DepthGuard() { --depth; }
        int &depth;
    };

    void object(const QString &path)
    {
        ++at;
        QStringList names;
        for (skipBlanks(); at != end && *at != '}'; skipBlanks()) {
            if (*at == ',') {
                ++at;
                continue;
            }
            const QString name = string();
            const QString memberPath = path.isEmpty() ? name : path + QLatin1Char('.') + name;
            if (names.contains(name) && layout.duplicate.isEmpty())
                layout.duplicate = memberPath;
            names.append(name);
            skipBlanks();
            step();  // the colon
            value(memberPath);
        }
        step();
        layout.memberOrder.insert(path, names);
    }

    void array(const QString &path)
    {
        ++at;
        int index = 0;
        for (skipBlanks(); at != end && *at != ']'; skipBlanks()) {
            if (*at == ',')
                ++at;
            else
                value(QStringLiteral("%1[%2]").arg(path).arg(index++));
        }
        step();
    }

    // A string token, its escapes decoded by Qt's own parser.
    QString string()
    {
        const char *const start = at;
        step();
        while (at < end && *at != '"')
            at += *at == '\\' ? 2 : 1;
        at = std::min(at, end);
        step();
        const QByteArray token = '[' + QByteArray(start, int(at - start)) + ']';
        return QJsonDocument::fromJson(token).array().at(0).toString();
    }

    void skipBlanks()
    {
        while (at != end && std::strchr(" \t\r\n", *at) && *at != '\0')
            ++at;
    }

    void step()
    {
        if (at != end)
            ++at;
    }

    const char *at;
    const char *const end;
    JsonLayout &layout;
    int depth = 0;
};

} // namespace

JsonLayout scanJsonLayout(const QByteArray &json)
{
    JsonLayout layout;
    LayoutScanner(json, layout).value(QString());
    return layout;
}
