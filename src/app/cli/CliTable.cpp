#include "app/cli/CliTable.h"

#include "model/NumberText.h"

#include <QJsonObject>

namespace vandra::cli {
namespace {

void AppendWord(std::string& out, const std::string& word) {
    if (word.find_first_of(",\"\r\n") == std::string::npos) {
        out += word;
        return;
    }
    out += '"';
    for (char c : word) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

} // namespace

QJsonArray JsonRows(const TTable& table) {
    QJsonArray rows;
    for (const std::vector<TCell>& row : table.Rows) {
        QJsonObject o;
        for (size_t k = 0; k < row.size() && k < table.Columns.size(); ++k) {
            const QString name = QString::fromStdString(table.Columns[k]);
            const TCell& cell = row[k];
            if (const auto* i = std::get_if<long long>(&cell))
                o.insert(name, static_cast<qint64>(*i));
            else if (const auto* d = std::get_if<double>(&cell))
                o.insert(name, *d);
            else if (const auto* w = std::get_if<std::string>(&cell))
                o.insert(name, QString::fromStdString(*w));
            else
                o.insert(name, QJsonValue(QJsonValue::Null));
        }
        rows.append(o);
    }
    return rows;
}

std::string CsvOf(const TTable& table) {
    std::string out;
    const auto endLine = [&out] {
        if (!out.empty() && out.back() == ',') out.pop_back();
        out += '\n';
    };
    for (const std::string& name : table.Columns) {
        AppendWord(out, name);
        out += ',';
    }
    endLine();
    for (const std::vector<TCell>& row : table.Rows) {
        for (const TCell& cell : row) {
            if (const auto* i = std::get_if<long long>(&cell))
                text::AppendInt(out, *i);
            else if (const auto* d = std::get_if<double>(&cell))
                text::AppendGeneral(out, *d);
            else if (const auto* w = std::get_if<std::string>(&cell))
                AppendWord(out, *w);
            out += ',';
        }
        endLine();
    }
    return out;
}

} // namespace vandra::cli
