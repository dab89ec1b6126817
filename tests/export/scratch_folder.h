// A temporary folder for theme files, templates and settings, removed afterwards.
#pragma once

#include <QTemporaryDir>

#include <fstream>
#include <string>

namespace qorva::test {

class Scratch {
public:
    std::string path() const { return dir_.path().toStdString(); }
    std::string file(const std::string& name) const { return path() + "/" + name; }
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
        return file(name);
    }

private:
    QTemporaryDir dir_;
};

}  // namespace qorva::test
