// Fake engine objects handed to the plug-in through its engine factory. Every call is
// written down as a line of text; each method answers what the test scripted (S_OK unless
// told otherwise), so that exact sequences of engine results can be driven.
#pragma once
#include "idl/desktop_search.h"

#include <windows.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

class FakeEngines {
  public:
    FakeEngines() = default;
    ~FakeEngines();
    // Makes the fakes the plug-in's engine factory (the plug-in fixture puts the real one back).
    void Install();
    FakeEngines(const FakeEngines&) = delete;
    FakeEngines& operator=(const FakeEngines&) = delete;

    // The calls so far, e.g. "create ZendriEventFactory 0x17", "AddProperty url=\"\"", "Send".
    std::vector<std::string> calls;
    // Answers by method ("CreateEvent", "Send", "AddProperty url", "BeginRegistration", ...),
    // used in turn; the last one stands for every later call.
    std::map<std::string, std::deque<HRESULT>> answers;
    // Creation results by class name ("ZendriRegistrar", "OrvennaEventFactory", ...).
    std::map<std::string, HRESULT> creation;
    // CreateEvent hands out an object without the event interface.
    bool eventLacksInterface = false;
    LONG queryCookie = 4711;
    // A method (as in answers) that throws std::bad_alloc, as an allocation deep inside the
    // caller would.
    std::string outOfMemoryIn;

    HRESULT Answer(const std::string& method);
    // Calls whose text starts with the prefix.
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
    // Fake objects still alive: the plug-in must have released every one.
    static int LiveObjects();
};

// The text of a BSTR in UTF-8.
std::string Utf8(BSTR text);
