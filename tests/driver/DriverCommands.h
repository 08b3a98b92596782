// The driver's verbs. Each takes the parsed request and answers one reply line.
#pragma once
#include <map>
#include <string>

#include "DriverProtocol.h"
#include "ProcessTable.h"

// Verbs kept in files of their own (one file per area of the program) register themselves
// with a static TExtraVerb: `static TExtraVerb regionVerb("region", &Region);`.
using TExtraVerbHandler = TReply (*)(const TRequest&);
struct TExtraVerb {
    TExtraVerb(const char* name, TExtraVerbHandler handler);
};

class TDriverCommands {
public:
    TDriverCommands();
    std::string Run(const TRequest& request);  // throws DriverError
    bool QuitRequested() const { return quit_; }

private:
    using THandler = TReply (TDriverCommands::*)(const TRequest&);
    TReply Ping(const TRequest&);
    TReply Start(const TRequest&);
    TReply WaitExit(const TRequest&);
    TReply Kill(const TRequest&);
    TReply KillAll(const TRequest&);
    TReply ListTop(const TRequest&);
    TReply ListChildren(const TRequest&);
    TReply Info(const TRequest&);
    TReply SetText(const TRequest&);
    TReply Send(const TRequest&);
    TReply Post(const TRequest&);
    TReply Foreground(const TRequest&);
    TReply Active(const TRequest&);
    TReply Cursor(const TRequest&);
    TReply XWindow(const TRequest&);
    TReply WindowAt(const TRequest&);
    TReply BrowseSelect(const TRequest&);
    TReply TreeSelection(const TRequest&);
    TReply TreeSelectChild(const TRequest&);
    TReply ComboItems(const TRequest&);
    TReply Metric(const TRequest&);
    TReply CodePage(const TRequest&);
    TReply CpuTime(const TRequest&);
    TReply TimePress(const TRequest&);
    TReply Redraw(const TRequest&);
    TReply RegionSize(const TRequest&);
    TReply Quit(const TRequest&);

    std::map<std::string, THandler> verbs_;
    TProcessTable processes_;
    bool quit_ = false;
};
