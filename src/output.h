/*
 * Stream buffers over file descriptors that keep why reading or writing
 * failed.
 *
 * FileOutput: the first failed write(2) sticks: its error number is kept and everything
 * written after it is dropped, so nothing lands in a descriptor that may by
 * then name another file. finish() flushes and, when the buffer owns the
 * descriptor, closes it; it returns the first error number, or 0 when every
 * byte reached its destination.
 *
 * FileInput reads a descriptor; a failed read(2) (other than EINTR) throws
 * std::system_error with its error number out of the buffer's underflow, so a
 * reader that takes characters from the buffer itself can tell a broken input
 * from one that ended. (Reads made through std::istream's own functions turn
 * it into badbit instead.)
 */
#pragma once

#include <array>
#include <streambuf>

class FileOutput : public std::streambuf {
public:
    // `owned`: close the descriptor in finish() (and on destruction).
    FileOutput(int fd, bool owned);
    ~FileOutput() override;
    FileOutput(const FileOutput&) = delete;
    FileOutput& operator=(const FileOutput&) = delete;

    int finish();

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool drain();

    int fd_;
    bool owned_;
    int error_ = 0;
    std::array<char, 1 << 16> buffer_;
};

class FileInput : public std::streambuf {
public:
    explicit FileInput(int fd);

protected:
    int_type underflow() override;

private:
    int fd_;
    std::array<char, 1 << 12> buffer_;
};
