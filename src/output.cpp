#include "output.h"

#include <unistd.h>

#include <cerrno>
#include <system_error>

FileOutput::FileOutput(int fd, bool owned)
    : fd_(fd)
    , owned_(owned)
{
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

FileOutput::~FileOutput()
{
    finish();
}

int FileOutput::finish()
{
    drain();
    if (owned_) {
        if (::close(fd_) != 0 && error_ == 0)
            error_ = errno;
        owned_ = false;
    }
    return error_;
}

bool FileOutput::drain()
{
    const char* next = pbase();
    const char* end = pptr();
    while (error_ == 0 && next < end) {
        const ssize_t written = ::write(fd_, next, static_cast<std::size_t>(end - next));
        if (written > 0)
            next += written;
        else if (written == 0)
            error_ = EIO;
        else if (errno != EINTR)
            error_ = errno;
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return error_ == 0;
}

FileOutput::int_type FileOutput::overflow(int_type c)
{
    if (!drain())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof()))
        sputc(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
}

int FileOutput::sync()
{
    return drain() ? 0 : -1;
}

FileInput::FileInput(int fd)
    : fd_(fd)
{
    setg(buffer_.data(), buffer_.data(), buffer_.data());
}

FileInput::int_type FileInput::underflow()
{
    for (;;) {
        const ssize_t got = ::read(fd_, buffer_.data(), buffer_.size());
        if (got > 0) {
            setg(buffer_.data(), buffer_.data(), buffer_.data() + got);
            return traits_type::to_int_type(buffer_[0]);
        }
        if (got == 0)
            return traits_type::eof();
        if (errno != EINTR)
            throw std::system_error(errno, std::generic_category());
    }
}
