#pragma once

namespace vardelo::fb {

// While it lives, the handlers of SIGTERM, SIGHUP and SIGINT that the program installed are kept: the engine
// puts its own in place at its first attachment, and its handler shuts every attachment down, under the
// program's own closing (a logout would end with "connection shutdown" and an error box). A signal without a
// handler of the program's is left to the engine (the database tool, the tests).
class ProgramSignalHandlers {
public:
    ProgramSignalHandlers();
    ~ProgramSignalHandlers();
    ProgramSignalHandlers(const ProgramSignalHandlers&) = delete;
    ProgramSignalHandlers& operator=(const ProgramSignalHandlers&) = delete;

private:
    struct Saved;
    Saved* saved_;
};

} // namespace vardelo::fb
