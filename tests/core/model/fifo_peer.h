// Another program at the other end of a FIFO, in a thread: it reads everything, opens the FIFO
// and goes away, or writes into it without end (without dying of SIGPIPE).
#pragma once

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "core/test_support.h"

namespace qiro::test {

struct FifoPeer {
  enum Mode { Reads, Leaves, WritesEndlessly };
  FifoPeer(const std::filesystem::path& fifo, Mode mode)
      : thread([this, fifo, mode] {
          if (mode == Reads) {
            text = ReadFile(fifo);
          } else if (mode == Leaves) {
            ::close(::open(fifo.c_str(), O_RDONLY));
          } else {
            sigset_t pipeSet;
            sigemptyset(&pipeSet);
            sigaddset(&pipeSet, SIGPIPE);
            pthread_sigmask(SIG_BLOCK, &pipeSet, nullptr);
            std::ofstream out(fifo, std::ios::binary);
            const std::string chunk(1 << 16, '\n');
            while (out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()))) {
            }
          }
        }) {}
  std::string Join() {
    thread.join();
    return text;
  }
  std::string text;
  std::thread thread;
};

}  // namespace qiro::test
