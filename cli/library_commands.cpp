// library index, search and show: the design library on the command line.
#include "cli/tool.h"
#include "library/design_library.h"
#include "platform/design_thumbnail.h"

#include <QFile>

#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {
std::unique_ptr<DesignLibrary> OpenLibrary(const LibraryRequest& request) {
    const std::string path =
        request.Database.isEmpty() ? DesignLibrary::DefaultPath() : LocalPath(request.Database);
    return std::make_unique<DesignLibrary>(path, request.Rebuild ? DesignLibrary::OpenMode::Rebuild
                                                                 : DesignLibrary::OpenMode::Existing);
}

std::string Fixed(const std::optional<double>& value, int decimals) {
    if (!value) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, *value);
    return text;
}

void WriteRecord(JsonWriter& json, const DesignRecord& r) {
    json.BeginObject();
    json.Key("path");
    json.Utf8String(QFile::decodeName(QByteArray::fromStdString(r.Path)).toStdString());
    if (!r.Partner.empty()) {
        json.Key("partner");
        json.Utf8String(QFile::decodeName(QByteArray::fromStdString(r.Partner)).toStdString());
    }
    json.Key("kind");
    json.Utf8String(KindName(r.Kind));
    json.Key("name");
    json.Utf8String(r.Name);
    if (!r.Broken.empty()) {
        json.Key("broken");
        json.Utf8String(r.Broken);
        json.Key("line");
        json.Integer(r.BrokenLine);
        json.EndObject();
        return;
    }
    json.Key("title");
    json.Utf8String(r.Title);
    json.Key("mirror");
    json.Boolean(r.Mirror);
    json.Key("shape");
    json.Utf8String(ShapeName(r.Figures.Shape));
    for (const FigureKey& key : FigureKeys) {
        json.Key(key.Key);
        if (const auto value = FigureOf(r, key.Which))
            json.Number(*value);
        else
            json.Null();
    }
    json.Key("text");
    json.Utf8String(r.Text);
    json.EndObject();
}

int PrintRecords(const std::vector<DesignRecord>& records, bool asJson) {
    if (asJson) {
        JsonWriter json;
        json.BeginArray();
        for (const DesignRecord& r : records)
            WriteRecord(json, r);
        json.EndArray();
        return PrintJson(json);
    }
    std::string out;
    char line[1024];
    for (const DesignRecord& r : records) {
        if (!r.Broken.empty()) {
            std::snprintf(line, sizeof line, "%s:%d: %s\n", r.Path.c_str(), r.BrokenLine, r.Broken.c_str());
        } else {
            const DesignFigures& f = r.Figures;
            std::snprintf(line, sizeof line, "%-24s %-8s %-9s %4d facets  L/W %s  %s/%s deg  %s\n",
                          r.Name.c_str(), KindName(r.Kind).c_str(), ShapeName(f.Shape).c_str(), f.Facets,
                          Fixed(f.LW, 3).c_str(), Fixed(f.CrownAngle, 1).c_str(),
                          Fixed(f.PavilionAngle, 1).c_str(), r.Path.c_str());
        }
        out += line;
    }
    return WriteStandardOutput(out);
}

int RunShow(DesignLibrary& library, const LibraryRequest& request) {
    const auto record = library.Find(LocalPath(request.File));
    if (!record) {
        PrintError(QString("%1 is not in the design library %2")
                       .arg(request.File, QFile::decodeName(QByteArray::fromStdString(library.Path()))));
        return ExitFileError;
    }
    if (request.Json) {
        JsonWriter json;
        WriteRecord(json, *record);
        return PrintJson(json);
    }
    std::string out = "path: " + record->Path + "\n";
    if (!record->Partner.empty()) out += "partner: " + record->Partner + "\n";
    out += "kind: " + KindName(record->Kind) + "\nname: " + record->Name + "\n";
    if (!record->Broken.empty())
        return WriteStandardOutput(out + "broken: " + record->Broken + " (line " +
                                   std::to_string(record->BrokenLine) + ")\n");
    out += "title: " + record->Title + "\nshape: " + ShapeName(record->Figures.Shape) +
           "\nmirror: " + (record->Mirror ? "yes" : "no") + "\n";
    for (const FigureKey& key : FigureKeys)
        out += std::string(key.Key) + ": " + Fixed(FigureOf(*record, key.Which), key.Whole ? 0 : 4) + "\n";
    out +=
        "thumbnail: " + std::string(record->HasThumbnail ? "yes" : "no") + "\ntext:\n" + record->Text + "\n";
    return WriteStandardOutput(out);
}

int RunIndex(DesignLibrary& library, const LibraryRequest& request) {
    IndexOptions options;
    for (const QString& folder : request.Folders)
        options.Folders.push_back(LocalPath(folder));
    options.Thumbnails = [](const TopView& view) { return TopViewPng(view); };
    const bool terminal = isatty(fileno(stderr));
    if (terminal)
        options.Progress = [](const IndexProgress& p) {
            std::fprintf(stderr, "\rIndexing: %d of %d designs", p.Done, p.Total);
            std::fflush(stderr);
        };
    const IndexSummary summary = library.Index(options);
    if (terminal) std::fprintf(stderr, "\n");
    std::string out;
    for (const BrokenFile& broken : summary.Broken)
        out += "broken: " + broken.Path + ":" + std::to_string(broken.Line) + ": " + broken.Reason + "\n";
    char line[512];
    std::snprintf(line, sizeof line,
                  "%d files: %d designs read, %d files unchanged, %d designs removed, %d broken\n",
                  summary.Files, summary.Indexed, summary.Unchanged, summary.Removed,
                  static_cast<int>(summary.Broken.size()));
    return WriteStandardOutput(out + line);
}
} // namespace

int RunLibrary(const ToolRequest& request) {
    const LibraryRequest& library = request.Library;
    try {
        const auto opened = OpenLibrary(library);
        if (library.Action == "index") return RunIndex(*opened, library);
        if (library.Action == "show") return RunShow(*opened, library);
        return PrintRecords(opened->Search(library.Query), library.Json);
    } catch (const LibraryError& error) {
        PrintError(QString::fromLocal8Bit(error.what()) +
                   (error.Rebuildable() ? "; 'library index --rebuild DIR...' starts it afresh" : ""));
        return ExitFileError;
    }
}
