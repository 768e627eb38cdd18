// What both engines do with an event: check and collect its properties, then write it
// to the index when it is sent.
#pragma once
#include "index/document.h"
#include "switches.h"

#include <oaidl.h>

#include <span>
#include <string>

namespace engine_core {

enum ValueTypes : unsigned { kText = 1, kNumber = 2, kDate = 4 };

struct PropertyRule {
    const char* name;
    unsigned types; // ValueTypes accepted
};

struct EventKind {
    const char* engine;
    const char* schema;
    std::span<const PropertyRule> properties;
    const char* urlProperty; // the property that identifies the document
};

class EventBuilder {
  public:
    EventBuilder(const EventKind& kind, std::string component);

    HRESULT AddProperty(BSTR name, const VARIANT& value);
    HRESULT Send();

  private:
    const EventKind& kind_;
    engine_index::Document document_;
    size_t bytes_ = 0;
    Switches switches_; // as read when the event was created; Send reads them again
};

} // namespace engine_core
