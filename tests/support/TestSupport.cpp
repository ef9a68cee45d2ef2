#include "TestSupport.h"

#include "core/OrlentaError.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <zlib.h>

namespace orlenta::test {

namespace fs = std::filesystem;

TScratchDirectory::TScratchDirectory() : FPreviousWorkingDirectory(fs::current_path()) {
    std::string pattern = (fs::temp_directory_path() / "orlenta-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    FPath = pattern;
    fs::current_path(FPath);
}

TScratchDirectory::~TScratchDirectory() {
    std::error_code ignored;
    fs::current_path(FPreviousWorkingDirectory, ignored);
    // Tests take permissions away; give them back so that everything can be removed.
    for (auto it = fs::recursive_directory_iterator(FPath, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (!it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::permissions(FPath, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(FPath, ignored);
}

std::string ErrorText(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const EOrlentaError& error) {
        return error.what();
    }
    return "(no error)";
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string RawDeflateBytes(const std::string& bytes) {
    z_stream stream{};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, bytes.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

std::string RawInflateBytes(const std::string& compressed) {
    z_stream stream{};
    inflateInit2(&stream, -15);
    std::string out;
    char buffer[65536];
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    int result = Z_OK;
    while (result == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        result = inflate(&stream, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - stream.avail_out);
    }
    inflateEnd(&stream);
    return result == Z_STREAM_END ? out : std::string();
}

IXMLOrlentaDataType DeepCatalogue(int depth) {
    IXMLOrlentaDataType root = NewOrlentaData();
    TXMLDirectoryType directory = root.Discs().Add().Root();
    for (int level = 1; level <= depth; ++level) {
        directory = directory.Directories().Add();
        directory.SetName("d");
        directory.SetID(std::to_string(level));
    }
    directory.Filenames().Add().SetText("needle.txt");
    return root;
}

} // namespace orlenta::test
