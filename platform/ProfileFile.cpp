#include "platform/ProfileFile.h"

#include "platform/AtomicFile.h"

#include <QByteArray>
#include <QFile>
#include <QList>

namespace vtl::platform {
namespace {

constexpr QByteArrayView kBom("\xEF\xBB\xBF");
constexpr QByteArrayView kCrLf("\r\n");

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// One line of the file as raw bytes, so that lines we do not touch are written
// back exactly as they were (encoding mistakes included).
struct Line {
    enum class Kind { Other, Section, Key };

    QByteArray text;   // without its line end
    QByteArray ending; // "\r\n", "\n" or "" for a last line without one
    Kind kind = Kind::Other;
    QString name;            // section or key name, blanks dropped
    qsizetype valueFrom = 0; // byte range of a key's value, blanks excluded
    qsizetype valueTo = 0;

    [[nodiscard]] QString value() const {
        return QString::fromUtf8(text.mid(valueFrom, valueTo - valueFrom));
    }
};

struct Span {
    qsizetype from;
    qsizetype to;
};

Span trimmed(const QByteArray& text, qsizetype from, qsizetype to) {
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    return {from, to};
}

QString decode(const QByteArray& text, Span span) {
    return QString::fromUtf8(text.mid(span.from, span.to - span.from));
}

void classify(Line& line) {
    const QByteArray& text = line.text;
    const Span all = trimmed(text, 0, text.size());
    if (all.from == all.to || text[all.from] == ';')
        return;
    if (text[all.from] == '[') {
        // Like Windows, the last "]" on the line closes the name.
        const qsizetype close = text.lastIndexOf(']');
        if (close > all.from) {
            line.kind = Line::Kind::Section;
            line.name = decode(text, trimmed(text, all.from + 1, close));
            return;
        }
    }
    const qsizetype equals = text.indexOf('=', all.from);
    if (equals < 0)
        return;
    line.kind = Line::Kind::Key;
    line.name = decode(text, trimmed(text, all.from, equals));
    const Span value = trimmed(text, equals + 1, all.to);
    line.valueFrom = value.from;
    line.valueTo = value.to;
}

struct ProfileText {
    QByteArray bom;
    QList<Line> lines;

    static ProfileText parse(QByteArray bytes) {
        ProfileText profile;
        if (bytes.startsWith(kBom)) {
            profile.bom = kBom.toByteArray();
            bytes.remove(0, profile.bom.size());
        }
        qsizetype start = 0;
        while (start < bytes.size()) {
            Line line;
            const qsizetype newline = bytes.indexOf('\n', start);
            qsizetype end = newline < 0 ? bytes.size() : newline;
            const qsizetype next = newline < 0 ? bytes.size() : newline + 1;
            if (newline >= 0 && end > start && bytes[end - 1] == '\r')
                --end;
            line.text = bytes.mid(start, end - start);
            line.ending = bytes.mid(end, next - end);
            classify(line);
            profile.lines.push_back(std::move(line));
            start = next;
        }
        return profile;
    }

    [[nodiscard]] QByteArray serialize() const {
        QByteArray bytes = bom;
        for (const Line& line : lines)
            bytes += line.text + line.ending;
        return bytes;
    }

    // Index of the first section header with this name, or -1.
    [[nodiscard]] qsizetype findSection(const QString& section) const {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines[i].kind == Line::Kind::Section &&
                lines[i].name.compare(section, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }

    // One past the last line of the section whose header is at `header`.
    [[nodiscard]] qsizetype sectionEnd(qsizetype header) const {
        qsizetype i = header + 1;
        while (i < lines.size() && lines[i].kind != Line::Kind::Section)
            ++i;
        return i;
    }

    [[nodiscard]] qsizetype findKey(qsizetype header, const QString& key) const {
        const qsizetype end = sectionEnd(header);
        for (qsizetype i = header + 1; i < end; ++i) {
            const Line& line = lines[i];
            if (line.kind == Line::Kind::Key && line.name.compare(key, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }

    // Where a new key of the section goes: after its last key line, so that blank
    // lines and comments that lead into the next section stay in front of it.
    [[nodiscard]] qsizetype insertionPoint(qsizetype header) const {
        qsizetype at = header + 1;
        const qsizetype end = sectionEnd(header);
        for (qsizetype i = header + 1; i < end; ++i) {
            if (lines[i].kind == Line::Kind::Key)
                at = i + 1;
        }
        return at;
    }

    void insert(qsizetype at, QByteArray text) {
        // The line before may be the file's last one without a line end.
        if (at > 0 && lines[at - 1].ending.isEmpty())
            lines[at - 1].ending = kCrLf.toByteArray();
        Line line;
        line.text = std::move(text);
        line.ending = kCrLf.toByteArray();
        lines.insert(at, std::move(line));
    }
};

QString stripQuotes(const QString& value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

QString cut(QString value) {
    if (value.size() <= kProfileValueMaxChars)
        return value;
    value.truncate(kProfileValueMaxChars);
    if (value.back().isHighSurrogate())
        value.chop(1);
    return value;
}

QString trimmedBlanks(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return decode(utf8, trimmed(utf8, 0, utf8.size()));
}

bool hasLineBreak(const QString& text) {
    return text.contains(u'\n') || text.contains(u'\r');
}

// Names that would change the structure of the file are refused rather than
// written into it.
bool isWritable(const QString& section, const QString& key, const std::optional<QString>& value) {
    if (hasLineBreak(section) || section.contains(u']'))
        return false;
    if (key.isEmpty() || hasLineBreak(key) || key.contains(u'=') || key.startsWith(u';') ||
        key.startsWith(u'['))
        return false;
    return !value || !hasLineBreak(*value);
}

} // namespace

QString readProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue) {
    // Windows drops trailing blanks from the default too.
    QString fallback = defaultValue;
    while (!fallback.isEmpty() && (fallback.back() == u' ' || fallback.back() == u'\t'))
        fallback.chop(1);

    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return cut(fallback);
    const ProfileText profile = ProfileText::parse(in.readAll());
    const qsizetype header = profile.findSection(trimmedBlanks(section));
    if (header < 0)
        return cut(fallback);
    const qsizetype line = profile.findKey(header, trimmedBlanks(key));
    if (line < 0)
        return cut(fallback);
    return cut(stripQuotes(profile.lines[line].value()));
}

bool writeProfileString(const QString& file, const QString& section, const QString& key,
                        const std::optional<QString>& value) {
    const QString sectionName = trimmedBlanks(section);
    const QString keyName = trimmedBlanks(key);
    if (!isWritable(sectionName, keyName, value))
        return false;

    QFile in(file);
    const bool exists = in.exists();
    if (!exists && !value)
        return true; // nothing to delete
    if (exists && !in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray original = exists ? in.readAll() : QByteArray();
    in.close();

    ProfileText profile = ProfileText::parse(original);
    const qsizetype header = profile.findSection(sectionName);
    const qsizetype line = header < 0 ? -1 : profile.findKey(header, keyName);

    if (!value) {
        if (line < 0)
            return true;
        profile.lines.removeAt(line);
    } else if (line >= 0) {
        Line& target = profile.lines[line];
        target.text.replace(target.valueFrom, target.valueTo - target.valueFrom, value->toUtf8());
    } else if (header >= 0) {
        profile.insert(profile.insertionPoint(header), keyName.toUtf8() + '=' + value->toUtf8());
    } else {
        const qsizetype end = profile.lines.size();
        profile.insert(end, '[' + sectionName.toUtf8() + ']');
        profile.insert(end + 1, keyName.toUtf8() + '=' + value->toUtf8());
    }

    const QByteArray updated = profile.serialize();
    if (exists && updated == original)
        return true;
    return writeFileAtomically(file, updated);
}

} // namespace vtl::platform
