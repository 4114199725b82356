#include "timeline/cEventQueue_factory.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "util/file_bytes.h"
#include "util/printable_text.h"

namespace {
const char* const PARSE_FN = "cEventQueue_factory::eventtoken_parse";
const char* const LOAD_FN = "cEventQueue_factory::loadFile";

bool is_separator(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// One time field: a decimal integer, leading blanks allowed, trailing
// characters ignored. Fields beyond a billion cannot be meant and would
// overflow the arithmetic, so they are refused.
bool parse_field(const std::string& field, long long& value)
{
    const char* begin = field.c_str();
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(begin, &end, 10);
    if (end == begin || errno == ERANGE || v > 1000000000L || v < -1000000000L)
        return false;
    value = v;
    return true;
}
// Where a warning is about: "FILE:LINE: " as editors and compilers write
// it when the script's path is known, "line LINE: " when only the line is.
std::string where(const std::string& source, int lineNo)
{
    if (source.empty())
        return lineNo > 0 ? "line " + std::to_string(lineNo) + ": " : std::string();
    return printable_text(source) + (lineNo > 0 ? ":" + std::to_string(lineNo) : std::string()) + ": ";
}

// The token as the file has it, made safe for the terminal (a script may
// hold any bytes).
void warn_unknown(const std::string& token, int lineNo, std::ostream& warn, const std::string& source)
{
    warn << "# warning, " << where(source, lineNo) << "unknown token " << printable_text(token) << " in "
         << PARSE_FN << std::endl;
}
}  // namespace

const std::vector<std::string>& cEventQueue_factory::musical_tokens()
{
    static const std::vector<std::string> tokens = {
        "beat",  "snare", "rumble", "fadein", "bwab1",  "bwab2",  "technofx",
        "technofx2", "melody", "lead", "hihatc", "hihato", "sinus_in"};
    return tokens;
}

int cEventQueue_factory::eventtoken_parse(const std::string& token, std::ostream& warn, int lineNo,
                                          const std::string& source)
{
    const std::vector<std::string>& musical = musical_tokens();
    for (size_t i = 0; i < musical.size(); ++i)
        if (token == musical[i])
            return DE_BEAT + int(i);

    if (!token.empty() && token[0] >= '0' && token[0] <= '9')
        return DE_NUMBER;

    if (token.size() == 3 && token[0] == 's' && token[1] >= '0' && token[1] <= '9' &&
        token[2] >= '0' && token[2] <= '9') {
        int n = (token[1] - '0') * 10 + (token[2] - '0');
        if (n <= 21)
            return DE_SCENE_00 + n;
    }
    if (token == "s100")
        return DE_SCENE_100;
    if (token == "quit")
        return DE_QUIT;
    if (!token.empty() && token[0] == '#')
        return DE_NONE;

    warn_unknown(token, lineNo, warn, source);
    return DE_NONE;
}

bool cEventQueue_factory::parse_time(const std::string& text, int& ms)
{
    long long fields[4];
    size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (pos >= text.size())
                return false;  // fewer than four fields
            ++pos;             // the ',' or ':' that ended the previous field
        }
        size_t end = text.find_first_of(",:", pos);
        if (end == std::string::npos)
            end = text.size();
        if (!parse_field(text.substr(pos, end - pos), fields[i]))
            return false;
        pos = end;
    }
    long long total = fields[0] * 3600000LL + fields[1] * 60000LL + fields[2] * 1000LL + fields[3];
    if (total > INT_MAX || total < INT_MIN)
        return false;
    ms = int(total);
    return true;
}

cEvent* cEventQueue_factory::parse_line(const std::string& line, int lineNo, std::ostream& warn,
                                        const std::string& source)
{
    if (line.empty())
        return new cEvent();

    // The first word starts at the very first character; a line led by a
    // separator reports its blank-led text as an unknown token.
    size_t wordBegin = 0;
    while (wordBegin < line.size() && is_separator(line[wordBegin]))
        ++wordBegin;
    size_t wordEnd = wordBegin;
    while (wordEnd < line.size() && !is_separator(line[wordEnd]))
        ++wordEnd;

    std::string token = line.substr(0, wordEnd);
    int id = wordBegin == 0 ? eventtoken_parse(token, warn, lineNo, source) : DE_NONE;
    if (wordBegin != 0)
        warn_unknown(token, lineNo, warn, source);
    if (id == DE_NONE || id == DE_NUMBER)
        return new cEvent();

    size_t timeBegin = wordEnd;
    while (timeBegin < line.size() && is_separator(line[timeBegin]))
        ++timeBegin;
    size_t timeEnd = timeBegin;
    while (timeEnd < line.size() && !is_separator(line[timeEnd]))
        ++timeEnd;

    int ms = 0;
    if (!parse_time(line.substr(timeBegin, timeEnd - timeBegin), ms)) {
        warn << "# warning, " << where(source, lineNo) << printable_text(token)
             << " needs a time of four fields hours,minutes,seconds,milliseconds"
             << " (line skipped) in " << LOAD_FN << std::endl;
        return new cEvent();
    }
    return new cEvent(id, ms);
}

cEventQueue* cEventQueue_factory::parse(const char* data, size_t size, std::ostream& warn, const std::string& source)
{
    cEventQueue* queue = new cEventQueue();
    size_t pos = 0;
    int lineNo = 0;
    while (pos < size) {
        ++lineNo;
        const char* lf = static_cast<const char*>(std::memchr(data + pos, '\n', size - pos));
        size_t end = lf ? size_t(lf - data) : size;
        size_t len = end - pos;
        // Text mode: a CR LF line end arrives as LF.
        if (lf && len > 0 && data[end - 1] == '\r')
            --len;
        if (len > MAX_LINE) {
            warn << "# warning, " << where(source, lineNo) << "the line is longer than " << MAX_LINE
                 << " characters, loading stops here in " << LOAD_FN << std::endl;
            break;
        }
        // A NUL ends the line's text, as it would for a C string.
        std::string line(data + pos, len);
        size_t nul = line.find('\0');
        if (nul != std::string::npos)
            line.resize(nul);

        cEvent* e = parse_line(line, lineNo, warn, source);
        if (e->id == DE_NONE)
            delete e;
        else
            queue->append(e);
        pos = end + 1;
    }
    queue->sort();
    queue->rewind();
    return queue;
}

cEventQueue* cEventQueue_factory::loadFile(const std::string& path)
{
    return loadFile(path, std::cerr);
}

cEventQueue* cEventQueue_factory::loadFile(const std::string& path, std::ostream& warn)
{
    std::vector<char> bytes;
    if (!read_file_bytes(path, bytes)) {
        std::cout << "Error reading file \"" << path << " in " << LOAD_FN << std::endl;
        return nullptr;
    }
    return parse(bytes.data(), bytes.size(), warn, path);
}
