// The exports checked by parsers: the CSV by an RFC 4180 reader, the JSON by Python's json module.

#include "ExchangeFixture.h"
#include "TestSupport.h"
#include "core/exchange/CatalogueExport.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
#include <stdexcept>

namespace orlenta::test {

IXMLOrlentaDataType HostileCatalogue() {
    IXMLOrlentaDataType root = NewOrlentaData();
    root.SetTitle("Shelf <&>");
    root.SetMemo("line one\\nline two");
    const TXMLDiscType disc = root.Discs().Add();
    disc.SetTitle("Hostile, \"disc\"");
    disc.SetMemo("memo\\t<b>");
    disc.Root().SetID("1");
    std::uint64_t size = 0;
    for (const std::string& name : kHostileNames) {
        const TXMLFilenameType file = disc.Root().Filenames().Add();
        file.SetText(name);
        file.SetSize(size++);
    }
    const TXMLDirectoryType script = disc.Root().Directories().Add();
    script.SetName("</script>");
    script.SetID("2");
    script.SetSize(42);
    script.SetModified(1704164645);
    const TXMLFilenameType inner = script.Filenames().Add();
    inner.SetText("x&y");
    inner.SetSize(42);
    inner.SetModified(1704164645);
    const TXMLDirectoryType box = disc.Root().Directories().Add();
    box.SetName("box.zip");
    box.SetID("3");
    box.XmlNode().append_attribute("Archive") = "zip";
    box.Filenames().Add().SetText("in zip");
    disc.Root().Filenames().Add().XmlNode().append_attribute("Text") = "bad\xFFname";
    disc.Root().Filenames().Add().XmlNode().append_attribute("Text") = "ctl\x01\x1F";
    return root;
}

std::vector<std::vector<std::string>> ParseRfc4180(const std::string& text) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record(1);
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '"') {
            ++i;
            for (;; ++i) {
                if (i >= text.size())
                    throw std::runtime_error("open quote");
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"')
                        ++i;
                    else
                        break;
                }
                record.back() += text[i];
            }
            ++i;
        }
        while (i < text.size() && text[i] != ',' && text[i] != '\r') {
            if (text[i] == '"' || text[i] == '\n')
                throw std::runtime_error("bare quote or line feed at " + std::to_string(i));
            record.back() += text[i++];
        }
        if (i >= text.size())
            throw std::runtime_error("record without CRLF");
        if (text[i] == ',') {
            record.emplace_back();
            ++i;
        } else {
            if (i + 1 >= text.size() || text[i + 1] != '\n')
                throw std::runtime_error("CR without LF");
            records.push_back(record);
            record.assign(1, std::string());
            i += 2;
        }
    }
    return records;
}

namespace {

const std::string kReplaced = "bad\xEF\xBF\xBDname";

std::string Exported(void (*write)(const TXMLOrlentaDataType&, const TExportScope&, std::ostream&),
                     const TXMLOrlentaDataType& root, TExportScope scope = {}) {
    std::ostringstream out;
    write(root, scope, out);
    return out.str();
}

TEST(ExportTest, CsvRowsHoldEveryNameUnalteredAndQuotedOnlyWhereNeeded) {
    const IXMLOrlentaDataType root = HostileCatalogue();
    const std::string text = Exported(WriteCatalogueCsv, root);
    const auto records = ParseRfc4180(text);
    ASSERT_EQ(records.size(), 1 + 1 + kHostileNames.size() + 2 + 4);
    EXPECT_EQ(records[0], (std::vector<std::string>{"disc", "disc title", "kind", "path", "name",
                                                    "size", "modified", "archive"}));
    EXPECT_EQ(records[1], (std::vector<std::string>{"0", "Hostile, \"disc\"", "directory", "", "",
                                                    "", "", ""}));
    for (std::size_t i = 0; i < kHostileNames.size(); ++i) {
        const auto& row = records[2 + i];
        ASSERT_EQ(row.size(), 8u);
        EXPECT_EQ(row[2], "file");
        EXPECT_EQ(row[3], kHostileNames[i]);
        EXPECT_EQ(row[4], kHostileNames[i]);
        EXPECT_EQ(row[5], std::to_string(i));
    }
    std::size_t after = 2 + kHostileNames.size();
    // The name that was not UTF-8 is written as the document holds it.
    EXPECT_EQ(records[after][3], std::string("bad\xFFname"));
    EXPECT_EQ(records[after + 1][3], std::string("ctl\x01\x1F"));
    ++after;
    EXPECT_EQ(records[after + 1],
              (std::vector<std::string>{"0", "Hostile, \"disc\"", "directory", "</script>",
                                        "</script>", "42", "2024-01-02T03:04:05Z", ""}));
    EXPECT_EQ(records[after + 2][3], "</script>/x&y");
    EXPECT_EQ(records[after + 3][3], "box.zip");
    EXPECT_EQ(records[after + 3][7], "zip");
    EXPECT_EQ(records[after + 4][3], "box.zip/in zip");
    EXPECT_EQ(records[after + 4][7], "zip");
    // Quotes only where RFC 4180 needs them.
    EXPECT_NE(text.find("\r\n0,\"Hostile, \"\"disc\"\"\",file,a<b&c>,a<b&c>,0,,\r\n"),
              std::string::npos);
}

TEST(ExportTest, CsvOfOneDiscHoldsOnlyItsRows) {
    const IXMLOrlentaDataType root = HostileCatalogue();
    const TXMLDiscType second = root.Discs().Add();
    second.SetTitle("Second");
    second.Root().SetID("9");
    const auto records = ParseRfc4180(Exported(WriteCatalogueCsv, root, {1}));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1][0], "1");
    EXPECT_EQ(records[1][1], "Second");
}

// Python's json module reads the export and writes back each name, path and value it found,
// one per line, as JSON strings in ASCII: what the C++ side then compares is Python's reading.
std::string PythonReading(const std::string& jsonPath) {
    const std::string script = R"PY(
import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
out = [d["title"], d["memo"]]
for disc in d["discs"]:
    out += [disc["title"], disc["memo"]]
    stack = [("", disc["root"])]
    while stack:
        path, node = stack.pop(0)
        out.append("D " + path + " " + str(node.get("size")) + " " + str(node.get("modified")) + " " + str(node.get("archive")))
        for f in node["files"]:
            out.append("F " + path + "/" + f["name"] + " " + str(f.get("size")))
        stack += [(path + "/" + s["name"], s) for s in node["directories"]]
sys.stdout.write("\n".join(json.dumps(x) for x in out))
)PY";
    const std::string scriptPath = jsonPath + ".py";
    WriteFileBytes(scriptPath, script);
    const std::string outPath = jsonPath + ".out";
    const std::string command =
        "python3 '" + scriptPath + "' '" + jsonPath + "' > '" + outPath + "'";
    if (std::system(command.c_str()) != 0)
        return "(python3 could not read the JSON)";
    return ReadFileBytes(outPath);
}

std::string JsonLine(const std::string& text) {
    std::string line = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            line += '\\';
            line += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            line += escape;
        } else {
            line += c;
        }
    }
    return line + "\"";
}

TEST(ExportTest, JsonIsValidForAnyNameAndHoldsTheTree) {
    TScratchDirectory scratch;
    const IXMLOrlentaDataType root = HostileCatalogue();
    WriteFileBytes(scratch / "c.json", Exported(WriteCatalogueJson, root));
    const std::string reading = PythonReading(scratch / "c.json");
    std::istringstream lines(reading);
    std::vector<std::string> got;
    for (std::string line; std::getline(lines, line);)
        got.push_back(line);
    ASSERT_GE(got.size(), 4u) << reading;
    EXPECT_EQ(got[0], "\"Shelf <&>\"");
    EXPECT_EQ(got[1], "\"line one\\nline two\"");
    EXPECT_EQ(got[2], "\"Hostile, \\\"disc\\\"\"");
    EXPECT_EQ(got[3], "\"memo\\t<b>\"");
    // json.dumps writes non-ASCII as \u escapes: compare names through Python's own decoding.
    std::vector<std::string> names;
    for (std::size_t i = 0; i < kHostileNames.size(); ++i)
        names.push_back("F /" + kHostileNames[i] + " " + std::to_string(i));
    names.push_back("F /" + kReplaced + " None");
    names.push_back("F /ctl\x01\x1F None");
    WriteFileBytes(scratch / "expected.json", [&] {
        std::string list = "[";
        // Appended piece by piece: GCC 12 at -O3 warns falsely of an overlapping copy in
        // "," + std::string.
        for (const auto& name : names) {
            if (list.size() > 1)
                list += ',';
            list += JsonLine(name);
        }
        return list + "]";
    }());
    const std::string check =
        "python3 -c \"import json,sys; e=json.load(open(sys.argv[1],encoding='utf-8')); "
        "g=[json.loads(l) for l in open(sys.argv[2],encoding='utf-8').read().split(chr(10))]; "
        "sys.exit(0 if all(x in g for x in e) else 1)\" '" +
        scratch / "expected.json" + "' '" + scratch / "c.json.out" + "'";
    EXPECT_EQ(std::system(check.c_str()), 0) << reading;
    EXPECT_NE(reading.find("\"D /</script> 42 2024-01-02T03:04:05Z None\""), std::string::npos)
        << reading;
    EXPECT_NE(reading.find("\"D /box.zip None None zip\""), std::string::npos) << reading;
    EXPECT_NE(reading.find("\"F /</script>/x&y 42\""), std::string::npos) << reading;
}

TEST(ExportTest, HtmlDataCannotEndItsScriptElement) {
    const IXMLOrlentaDataType root = HostileCatalogue();
    const std::string page = Exported(WriteCatalogueHtml, root);
    const std::size_t dataStart = page.find("<script type=\"application/json\"");
    const std::size_t scriptStart = page.find("<script>");
    ASSERT_NE(dataStart, std::string::npos);
    ASSERT_NE(scriptStart, std::string::npos);
    // Between the first data element and the page's own script: only our own closing tags.
    std::size_t closes = 0;
    for (std::size_t at = page.find("</script", dataStart); at < scriptStart;
         at = page.find("</script", at + 1))
        ++closes;
    EXPECT_EQ(closes, 2u); // the catalogue's element and the one disc's tree
    EXPECT_EQ(page.find("<!--", dataStart), std::string::npos);
}

TEST(ExportTest, ExportingAddsNothingToTheCatalogue) {
    TScratchDirectory scratch;
    const std::string text =
        R"(<?xml version="1.0"?><OrlentaData Title="Shelf"><Discs><Disc Title="P"><Root ID="1">)"
        R"(<Directories><Directory Name="d"/></Directories></Root></Disc></Discs></OrlentaData>)";
    WriteFileBytes(scratch / "in.xml", text);
    const IXMLOrlentaDataType root = LoadOrlentaData(scratch / "in.xml");
    Exported(WriteCatalogueCsv, root);
    Exported(WriteCatalogueJson, root);
    Exported(WriteCatalogueHtml, root);
    root.Document()->SaveToFile(scratch / "out.xml");
    EXPECT_EQ(ReadFileBytes(scratch / "out.xml"), text);
}

} // namespace
} // namespace orlenta::test
