#pragma once
// The answers a library double gives, read from a small text script: one
// setting a line, "key value", '#' starts a comment. Keys a test uses:
//   devices <count>                 devices the library reports
//   device.<n>.type <t>             model type of device number n
//   device.<n>.name <text>          its friendly name
//   device.<n>.colour <c>           1 for a monochrome sensor
//   return.<entry> <code>           code that entry answers (else 0)
//   written_back <n>                number KQ_Initialize writes back
//   clamp.width <w>, clamp.height <h>  largest window the library delivers
//   frames <count>                  frames each started view delivers at once
//   frame_rate <fps>                what the frame-rate entry reports
//   awb <r> <g> <b>                 white-balance values the library reports
//   resolutions <count>             resolutions a UVC library reports
//   compressor <id>                 compressor the user picks
//   param.<id> <value>              a UVC property before anything set it
#include <map>
#include <string>
#include <vector>

class DoubleScript {
public:
    // Replaces every setting with those of `text`.
    void Parse(const std::string& text);

    bool Has(const std::string& key) const;
    int Int(const std::string& key, int fallback) const;
    double Number(const std::string& key, double fallback) const;
    std::string Text(const std::string& key, const std::string& fallback) const;
    // The value's blank-separated integers; empty when the key is missing.
    std::vector<int> Ints(const std::string& key) const;

private:
    std::map<std::string, std::string> m_values;
};
