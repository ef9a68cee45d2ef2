#include "TestSupport.h"

#include "core/base/OrlentaError.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>
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

std::vector<std::string> ErrorTextsOfProcessesAtOnce(int count,
                                                     const std::function<void(int)>& body) {
    // Every child waits for the end of the start pipe, which comes when the parent closes it
    // after the last fork; each one's error text comes back through a pipe of its own.
    int start[2];
    if (pipe(start) != 0)
        throw std::runtime_error("pipe failed");
    std::vector<int> results;
    std::vector<pid_t> children;
    for (int index = 0; index < count; ++index) {
        int result[2];
        if (pipe(result) != 0)
            throw std::runtime_error("pipe failed");
        const pid_t child = fork();
        if (child < 0)
            throw std::runtime_error("fork failed");
        if (child == 0) {
            close(start[1]);
            close(result[0]);
            char byte = 0;
            while (read(start[0], &byte, 1) > 0) {
            }
            // Nothing may leave the child but through _exit: an exception would go on to run the
            // rest of the parent's tests, and destructors would remove the parent's files.
            int status = 1;
            try {
                const std::string text = ErrorText([&] { body(index); });
                if (write(result[1], text.data(), text.size()) == static_cast<ssize_t>(text.size()))
                    status = 0;
            } catch (...) {
            }
            _exit(status);
        }
        close(result[1]);
        results.push_back(result[0]);
        children.push_back(child);
    }
    close(start[0]);
    close(start[1]);
    std::vector<std::string> texts;
    for (size_t i = 0; i < children.size(); ++i) {
        std::string text;
        char buffer[4096];
        ssize_t count = 0;
        while ((count = read(results[i], buffer, sizeof buffer)) > 0)
            text.append(buffer, static_cast<size_t>(count));
        close(results[i]);
        int status = 0;
        waitpid(children[i], &status, 0);
        texts.push_back(WIFEXITED(status) && WEXITSTATUS(status) == 0 ? text : "(child failed)");
    }
    return texts;
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
