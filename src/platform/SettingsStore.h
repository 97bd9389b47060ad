#pragma once
// A per-user store of named text values: the preferences and the recent-file list each have one. The Qt
// layer keeps them in INI files; tests use the in-memory store.
#include <map>
#include <string>
#include <vector>

namespace tarv {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text; "" when the value is missing or cannot be read.
    virtual std::string getKeyValue(const std::string& name) = 0;
    // Stores text under name; an empty text is stored as " ". True on success.
    virtual bool setKeyValue(const std::string& name, const std::string& text) = 0;
};

// Keeps the values in memory. Tests look at values directly and can make reads or writes fail.
class MemorySettingsStore : public SettingsStore {
public:
    std::string getKeyValue(const std::string& name) override {
        if (failReads) return {};
        auto it = values.find(name);
        return it == values.end() ? std::string() : it->second;
    }
    bool setKeyValue(const std::string& name, const std::string& text) override {
        writes.push_back(name);
        if (failWrites) return false;
        values[name] = text.empty() ? std::string(" ") : text;
        return true;
    }

    std::map<std::string, std::string> values;
    std::vector<std::string> writes;  // names in the order they were written
    bool failReads = false;
    bool failWrites = false;
};

}  // namespace tarv
