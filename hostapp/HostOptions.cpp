#include "HostOptions.h"

#include <QCommandLineParser>

ParseResult ParseHostOptions(const QStringList& arguments, HostOptions& options, QString& message) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "veltra-host: хост системы обработки хроматограмм Veltra для модуля atmocalc.\n"
        "Загружает модуль, даёт ему таблицу функций хоста и сервисы: меню, выбор хроматограмм\n"
        "из базы данных, окно хроматограммы, путь к базе данных, профиль настроек."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Эта справка."));
    const QCommandLineOption plugin(
        QStringLiteral("plugin"),
        QStringLiteral("Файл модуля (по умолчанию ../lib/atmocalc/atmocalc.so от папки программы, "
                       "иначе atmocalc.so рядом с программой)."),
        QStringLiteral("ПУТЬ"));
    const QCommandLineOption db(
        QStringLiteral("db"),
        QStringLiteral("База данных хоста (SQLite; по умолчанию открытая в прошлый раз)."),
        QStringLiteral("ПУТЬ"));
    const QCommandLineOption profile(
        QStringLiteral("profile"),
        QStringLiteral("Файл профиля (по умолчанию в папке настроек пользователя)."), QStringLiteral("ПУТЬ"));
    const QCommandLineOption publicDir(
        QStringLiteral("public"),
        QStringLiteral("Общая папка: значение переменной PUBLIC для модуля (по умолчанию "
                       "PUBLIC окружения, иначе " ATMOCALC_PUBLIC_DIR ")."),
        QStringLiteral("ПАПКА"));
    const QCommandLineOption script(
        QStringLiteral("script"),
        QStringLiteral("Сценарий без экрана: шаги --steps (по умолчанию демонстрация), "
                       "вывод в стандартный поток."));
    const QCommandLineOption pick(
        QStringLiteral("pick"),
        QStringLiteral("Ответ окна выбора хроматограмм в сценарии: all (все), cancel "
                       "(отмена) или номера через запятую. По умолчанию all."),
        QStringLiteral("ОТВЕТ"));
    const QCommandLineOption steps(
        QStringLiteral("steps"),
        QStringLiteral("Шаги сценария через \";\": menu ПУТЬ (пункт меню), press КНОПКА, "
                       "print ВКЛАДКА|ОКНО, shot ФАЙЛ (снимок окна в PNG), "
                       "close [ОКНО]."),
        QStringLiteral("ШАГИ"));
    parser.addOptions({help, plugin, db, profile, publicDir, script, pick, steps});

    if (!parser.parse(arguments)) {
        message = parser.errorText();
        return ParseResult::Error;
    }
    if (parser.isSet(help)) {
        message =
            parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("veltra-host"));
        return ParseResult::Help;
    }
    if (!parser.positionalArguments().isEmpty()) {
        message = QStringLiteral("Лишний аргумент: %1").arg(parser.positionalArguments().first());
        return ParseResult::Error;
    }
    options.pluginPath = parser.value(plugin);
    options.databasePath = parser.value(db);
    options.profilePath = parser.value(profile);
    options.publicDir = parser.value(publicDir);
    options.script = parser.isSet(script);
    if ((parser.isSet(pick) || parser.isSet(steps)) && !options.script) {
        message = QStringLiteral("--pick и --steps действуют только вместе с --script.");
        return ParseResult::Error;
    }
    if (parser.isSet(pick) && !ParsePickAnswer(parser.value(pick).toStdU16String(), options.pick)) {
        message = QStringLiteral("--pick: ожидается all, cancel или номера через запятую, а не \"%1\".")
                      .arg(parser.value(pick));
        return ParseResult::Error;
    }
    options.steps = parser.value(steps);
    return ParseResult::Run;
}
