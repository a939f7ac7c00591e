// Command lines of the helper programs: "--key value" pairs and bare
// "--flag" words, as zolbench, the soak and the monkey take them.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace zol::test {

class Args {
public:
    // The words from argv[first] on.
    Args(int argc, wchar_t** argv, int first);
    // The same from a narrow command line (ASCII words).
    Args(int argc, char** argv, int first);
    explicit Args(const std::vector<std::wstring>& words);

    std::wstring text(const std::wstring& key, const std::wstring& fallback = L"") const;
    // The fallback also when the value is empty; the number as far as it reads.
    int number(const std::wstring& key, int fallback) const;
    double real(const std::wstring& key, double fallback) const;
    bool flag(const std::wstring& key) const;

    // True when every word was a key of `with_value` followed by its value or
    // one of `flags`: a program that takes nothing else calls this to reject
    // a misspelt or incomplete command line.
    bool only(const std::vector<std::wstring>& with_value, const std::vector<std::wstring>& flags = {}) const;

private:
    void read(const std::vector<std::wstring>& words);

    std::map<std::wstring, std::wstring> values_;
    std::vector<std::wstring> words_;
};

}  // namespace zol::test
