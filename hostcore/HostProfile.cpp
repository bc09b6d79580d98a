#include "HostProfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <unistd.h>

namespace {

constexpr QLatin1StringView kFormat("veltra-host profile");

// The file's sections as maps; false with `problem` set when the document is not a profile.
bool ParseProfile(const QByteArray& bytes, std::map<std::u16string, int32_t>& ints,
                  std::map<std::u16string, double>& doubles, std::map<std::u16string, QString>& texts,
                  QString& problem) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        problem = QStringLiteral("ошибка JSON в позиции %1: %2").arg(error.offset).arg(error.errorString());
        return false;
    }
    const QJsonObject root = document.object();
    if (!document.isObject() || root.value(u"format").toString() != kFormat) {
        problem = QStringLiteral("это не файл профиля (нет отметки \"%1\")").arg(kFormat);
        return false;
    }
    const QJsonValue intSection = root.value(u"int"), doubleSection = root.value(u"double"),
                     textSection = root.value(u"text");
    if (!(intSection.isObject() || intSection.isUndefined()) ||
        !(doubleSection.isObject() || doubleSection.isUndefined()) ||
        !(textSection.isObject() || textSection.isUndefined())) {
        problem = QStringLiteral("разделы \"int\", \"double\" и \"text\" должны быть объектами");
        return false;
    }
    const QJsonObject intValues = intSection.toObject();
    for (auto it = intValues.begin(); it != intValues.end(); ++it) {
        const double v = it.value().toDouble(std::numeric_limits<double>::quiet_NaN());
        if (!(v >= INT32_MIN && v <= INT32_MAX && v == std::floor(v))) {
            problem = QStringLiteral("значение ключа \"%1\" не 32-разрядное целое").arg(it.key());
            return false;
        }
        ints[it.key().toStdU16String()] = static_cast<int32_t>(v);
    }
    const QJsonObject doubleValues = doubleSection.toObject();
    for (auto it = doubleValues.begin(); it != doubleValues.end(); ++it) {
        if (!it.value().isDouble()) {
            problem = QStringLiteral("значение ключа \"%1\" не число").arg(it.key());
            return false;
        }
        doubles[it.key().toStdU16String()] = it.value().toDouble();
    }
    const QJsonObject textValues = textSection.toObject();
    for (auto it = textValues.begin(); it != textValues.end(); ++it) {
        if (!it.value().isString()) {
            problem = QStringLiteral("значение ключа \"%1\" не текст").arg(it.key());
            return false;
        }
        texts[it.key().toStdU16String()] = it.value().toString();
    }
    return true;
}

// A free name beside the file for keeping a damaged copy: "<file>.damaged", then "<file>.damaged-2", ...
QString DamagedCopyName(const QString& path) {
    QString name = path + QStringLiteral(".damaged");
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = path + QStringLiteral(".damaged-%1").arg(n);
    return name;
}

// Writes the bytes to a new file beside `path`, checking every write, syncs it to the disk and only
// then renames it over `path`: at no moment is there a partly written profile under the name.
// (QSaveFile was not enough: it let a short write through when the file size limit was hit.)
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString& error) {
    QByteArray name = QFile::encodeName(path) + ".XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        error = qt_error_string(errno);
        return false;
    }
    bool written = true;
    for (qsizetype done = 0; written && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        written = n > 0;
        done += written ? n : 0;
    }
    if (written)
        written = ::fsync(fd) == 0;
    if (!written)
        error = qt_error_string(errno);
    if (::close(fd) != 0 && written) {
        error = qt_error_string(errno);
        written = false;
    }
    if (written && ::rename(name.constData(), QFile::encodeName(path).constData()) != 0) {
        error = qt_error_string(errno);
        written = false;
    }
    if (!written)
        ::unlink(name.constData());
    return written;
}

} // namespace

HostProfile::HostProfile(QString profilePath) : path(std::move(profilePath)) {
    Read();
}

void HostProfile::Read() {
    QFile file(path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        readOnly = true;
        warning = QStringLiteral("Файл профиля %1 не читается: %2. Настройки прочитаны как пустые; "
                                 "файл не будет перезаписан до закрытия хоста.")
                      .arg(path, file.errorString());
        return;
    }
    QString problem;
    if (ParseProfile(file.readAll(), ints, doubles, texts, problem))
        return;
    ints.clear();
    doubles.clear();
    texts.clear();
    const QString copy = DamagedCopyName(path);
    if (!QFile::copy(path, copy)) {
        readOnly = true;
        warning =
            QStringLiteral("Файл профиля %1 повреждён (%2), и его копию не удалось сохранить как %3. "
                           "Настройки прочитаны как пустые; файл не будет перезаписан до закрытия хоста.")
                .arg(path, problem, copy);
        return;
    }
    warning = QStringLiteral("Файл профиля %1 повреждён (%2). Настройки прочитаны как пустые; "
                             "повреждённый файл сохранён как %3.")
                  .arg(path, problem, copy);
}

std::optional<int32_t> HostProfile::GetInt(const std::u16string& key) const {
    auto it = ints.find(key);
    return it == ints.end() ? std::nullopt : std::optional<int32_t>(it->second);
}

std::optional<double> HostProfile::GetDouble(const std::u16string& key) const {
    auto it = doubles.find(key);
    return it == doubles.end() ? std::nullopt : std::optional<double>(it->second);
}

std::optional<QString> HostProfile::GetText(const std::u16string& key) const {
    auto it = texts.find(key);
    return it == texts.end() ? std::nullopt : std::optional<QString>(it->second);
}

bool HostProfile::SetText(const std::u16string& key, const QString& value) {
    texts[key] = value;
    return Write();
}

bool HostProfile::SetInt(const std::u16string& key, int32_t value) {
    ints[key] = value;
    return Write();
}

bool HostProfile::SetDouble(const std::u16string& key, double value) {
    if (!std::isfinite(value)) {
        lastError = QStringLiteral("значение ключа \"%1\" не конечное число; профиль его не хранит")
                        .arg(QString::fromStdU16String(key));
        return false;
    }
    doubles[key] = value;
    return Write();
}

bool HostProfile::Write() {
    if (readOnly) {
        lastError =
            QStringLiteral("файл профиля %1 не перезаписывается, потому что при запуске он не был прочитан; "
                           "новые значения действуют до закрытия хоста")
                .arg(path);
        return false;
    }
    QJsonObject intValues, doubleValues;
    for (const auto& [key, value] : ints)
        intValues.insert(QString::fromStdU16String(key), value);
    for (const auto& [key, value] : doubles)
        doubleValues.insert(QString::fromStdU16String(key), value);
    QJsonObject root;
    root.insert(QStringLiteral("format"), kFormat);
    root.insert(QStringLiteral("int"), intValues);
    root.insert(QStringLiteral("double"), doubleValues);
    // Only the host keeps texts (the plug-ins' services read numbers), so profiles without any stay
    // in the two-section form.
    if (!texts.empty()) {
        QJsonObject textValues;
        for (const auto& [key, value] : texts)
            textValues.insert(QString::fromStdU16String(key), value);
        root.insert(QStringLiteral("text"), textValues);
    }

    QDir().mkpath(QFileInfo(path).absolutePath());
    QString error;
    if (!WriteFileAtomically(path, QJsonDocument(root).toJson(), error)) {
        lastError = QStringLiteral("файл профиля %1 не записан (%2); прежний файл не изменён, "
                                   "новые значения действуют до закрытия хоста")
                        .arg(path, error);
        return false;
    }
    lastError.clear();
    return true;
}
