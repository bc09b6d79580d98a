#include "report/Report.h"
#include "report/TraceXml.h"
#include "report/XmlWriterSource.h"

#include "host/Version.h"
#include "platform/system/PathName.h"
#include "platform/text/Format.h"
#include "platform/text/Utf.h"

#include <ctime>

namespace {

// A character XML 1.0 cannot carry at all (a C0 control other than tab, line feed and carriage return,
// U+FFFE, U+FFFF) would make the whole document unreadable: pugixml writes a control as "&#11;", which a
// parser must refuse. Each becomes U+FFFD; an unpaired surrogate already does in the conversion.
void MendUncarriedCharacters(std::string& text) {
    constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') {
            text.replace(i, 1, kReplacement);
            i += kReplacement.size() - 1;
        } else if (byte == 0xEF && text.compare(i + 1, 1, "\xBF") == 0 && i + 2 < text.size() &&
                   (text[i + 2] == '\xBE' || text[i + 2] == '\xBF')) {
            text[i + 2] = '\xBD';
            i += 2;
        }
    }
}

void AddAttribute(pugi::xml_node node, const char* name, std::u16string_view value) {
    std::string text = Utf16ToUtf8(value);
    MendUncarriedCharacters(text);
    node.append_attribute(name).set_value(text.c_str(), text.size());
}

// A pressure of zero or below is not set.
std::u16string PressureText(double pressure) {
    return pressure > 0 ? FormatText(u"%.1f", pressure) : std::u16string(u"—");
}

} // namespace

void BuildReportXml(const ReportRequest& request, Bstr* target) {
    pugi::xml_document doc;
    pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("UTF-16LE");

    pugi::xml_node root = doc.append_child("root");
    AddAttribute(root, "date_created", FormatDateTime(request.createdTime.value_or(std::time(nullptr))));
    AddAttribute(root, "prog_version", kVersionSuffix);
    AddAttribute(root, "convergence", request.result.convergenceText);

    pugi::xml_node settings = root.append_child("settings");
    AddAttribute(settings, "stdConditions",
                 request.settings.stdMode == 1 ? u"Атмосферный воздух" : u"Воздух рабочей зоны");
    AddAttribute(settings, "pressGrad", PressureText(request.settings.pressGrad));
    AddAttribute(settings, "pressAn", PressureText(request.settings.pressAn));

    pugi::xml_node files = root.append_child("files");
    int number = 0;
    for (const auto& [id, record] : request.measurements) {
        pugi::xml_node row = files.append_child("row");
        AddAttribute(row, "number", FormatText(u"%d", ++number));
        AddAttribute(row, "fileName", PathFindFileName(record.fileName));
        AddAttribute(row, "sample", record.sample);
        AddAttribute(row, "date", FormatDateTime(record.analysisTime));
        AddAttribute(row, "cartridge", SampleTypeName(record.sampleType));
        AddAttribute(row, "type", record.isCalibration ? u"Градуировка" : u"Анализ");
        AddAttribute(row, "mixture", record.mixture);
    }

    pugi::xml_node results = root.append_child("results");
    for (const ResultRow& result : request.result.rows) {
        pugi::xml_node row = results.append_child("row");
        AddAttribute(row, "name", result.name);
        AddAttribute(row, "value", result.value);
    }

    pugi::xml_node messages = root.append_child("messages");
    for (const std::u16string& text : request.messageTexts)
        AddAttribute(messages.append_child("row"), "msg_str", text);
    if (request.trace)
        AppendTraceXml(root, *request.trace);

    xml_writer_source writer(target);
    doc.save(writer, "", pugi::format_raw, pugi::encoding_utf16_le);
}
