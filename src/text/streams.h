// Byte streams that read and write as the Windows C runtime does in text mode, on every
// platform: binary access underneath, so a file's bytes do not depend on the host system.
#pragma once
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

constexpr std::size_t IO_CHUNK = 1 << 18;
constexpr std::size_t BLOCK = 1 << 18;       // bytes a writer gathers before they go on
constexpr std::size_t BLOCK_LINES = 1 << 12; // segment lines it gathers

// A segment line kept as its numbers until its block goes on, so that the digits may be
// written on another thread: its bytes go in before buf[at].
struct PendingLine {
    double v[4];
    std::size_t at;
};

// Input: CR LF becomes LF, a lone LF ends a line too, a lone CR is an ordinary byte,
// 0x1A ends the input. A record is a whole line of any length, with its LF when it had one.
// Each reader owns its chunk, from open to close: any number may be open at once.
struct Reader {
    std::FILE* f = nullptr;    // the file read, or null
    const char* mem = nullptr; // in-memory source when f is null
    std::size_t memlen = 0;    // its length
    char* buf = nullptr;       // chunk read from f (or mem itself)
    std::size_t pos = 0;       // next byte of the chunk
    std::size_t len = 0;       // bytes in the chunk
    std::string line;          // a line that crosses chunks, or ends in CR LF
    bool at_end = false;       // no more chunks: end of file or 0x1A
    bool err = false;          // a read failed
    bool owned = false;        // f is closed with the reader
    char* chunk = nullptr;     // the reader's own chunk, while it reads a file

    Reader() = default;
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;
    ~Reader(); // closes it
};

struct Writer;

// What a writer's bytes pass through on their way to the file (or sink): it hands on what is
// to be written with write_through, and is called once more with last set when the writer
// closes. Its state is its own, owned by the writer.
struct Filter {
    virtual ~Filter() = default;
    virtual void pass(Writer& w, std::string_view bytes, bool last) = 0;
};

struct WriterBlocks; // the blocks a writer gathers and the bytes it drains

// Output: every LF goes out as CR LF, through the filter when there is one. Bytes gather in
// blocks; once handed off, the blocks are formatted, filtered and written by a second thread.
// Each writer owns its blocks and its filter, from open to close: any number may be open at
// once, and one at a time may be handed off.
struct Writer {
    std::FILE* f = nullptr;
    std::string* mem = nullptr; // in-memory sink when f is null
    char* buf = nullptr;        // the block being gathered
    std::size_t len = 0;
    PendingLine* lines = nullptr; // its segment lines
    std::size_t nlines = 0;
    bool handed_off = false; // blocks go to the writer thread
    bool err = false;        // sticky: some write, flush or close failed
    std::unique_ptr<Filter> filter;
    bool durable = false;           // to be synced at close: synced as it grows, too
    unsigned long long written = 0; // bytes written to f
    unsigned long long synced = 0;  // bytes written when a sync was last asked for
    WriterBlocks* blocks = nullptr;

    Writer() = default;
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;
    ~Writer(); // abandons it
};

bool reader_open(Reader& r, const char* name);
// Reads f from its start; f stays open after reader_close, for a second pass over the same file.
bool reader_open_stream(Reader& r, std::FILE* f);
void reader_open_memory(Reader& r, std::string_view bytes);
bool read_record(Reader& r, std::string_view& rec); // false when nothing is left
bool reader_close(Reader& r);                       // false when a read had failed
// Passes over the records from here on that begin with `first` and hold no `absent`, as many
// as read_record would read one by one within what is read already, and stops before any
// other record. Their count; last is the last of them as read_record gives it (valid until
// the next read), when there is one.
std::size_t skip_records(Reader& r, char first, char absent, std::string_view& last);

bool writer_open(Writer& w, const char* name); // creates the file anew (see create_new)
void writer_open_memory(Writer& w, std::string& sink);
void put_text(Writer& w, std::string_view text);
void put_record(Writer& w, std::string_view rec); // one record; adds the LF a last line lacks
// " x1 y1 x2 y2" at 13 decimals and its line end: the record the clipping writes most.
void put_segment_line(Writer& w, double x1, double y1, double x2, double y2);
// From now on blocks are formatted and written on a second thread where there is one; a
// writer that is open to a file may be handed off once. Its filter runs on that thread. There
// is one such thread: while another writer has it, this one drains its blocks itself.
void hand_off(Writer& w);
bool writer_close(Writer& w, bool sync = false);       // false when any write failed
void write_through(Writer& w, std::string_view bytes); // past the buffer and the filter
// After a failure that ends the run: the writer thread stopped, the file closed as it is.
void writer_abandon(Writer& w);
