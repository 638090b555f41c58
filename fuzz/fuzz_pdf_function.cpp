// Reads arbitrary bytes as PDF functions and colour spaces and evaluates them. An input whose
// first byte is even is a calculator program: the second byte chooses its numbers of inputs
// and outputs. Otherwise the rest is the objects of a file without a table (found by a scan),
// object 10 read as a function and as a colour space.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/colour_space.h"
#include "graphics/function.h"
#include "graphics/postscript_calculator.h"
#include "xref/document.h"

namespace {

using namespace reader::pdf;

const double kProbes[] = {0, 0.5, 1, -1, 1e9, NAN, 0.25};

void runProgram(const uint8_t* data, size_t size) {
    if (size < 2) {
        return;
    }
    const size_t inputs = 1 + data[1] % 8;
    const size_t outputs = 1 + (data[1] / 8) % 8;
    const auto program = CalculatorProgram::parse({data + 2, size - 2});
    if (!program) {
        return;
    }
    double in[8];
    double out[8];
    for (const double probe : kProbes) {
        for (size_t i = 0; i < inputs; ++i) {
            in[i] = probe * double(i + 1);
        }
        program->run({in, inputs}, {out, outputs});
    }
}

void runObjects(const uint8_t* data, size_t size) {
    std::string file =
        "%PDF-1.7\n1 0 obj<</Type/Catalog/Pages 2 0 R>>endobj\n"
        "2 0 obj<</Type/Pages/Kids[]/Count 0>>endobj\n10 0 obj\n";
    file.append(reinterpret_cast<const char*>(data), size);
    file += "\nendobj\ntrailer<</Root 1 0 R>>\n%%EOF\n";
    const auto document =
        Document::open({reinterpret_cast<const uint8_t*>(file.data()), file.size()});
    if (!document) {
        return;
    }
    const Object object = Object::ref({10, 0});
    if (const auto function = Function::read(*document, object)) {
        double in[Function::kMaxInputs];
        double out[Function::kMaxOutputs + 1];
        for (const double probe : kProbes) {
            for (size_t i = 0; i < function->inputs(); ++i) {
                in[i] = probe + 0.1 * double(i);
            }
            function->eval({in, function->inputs()}, out);
            for (size_t j = 0; j < function->outputs(); ++j) {
                if (std::isnan(out[j])) {
                    __builtin_trap();  // outputs are always numbers
                }
            }
        }
    }
    const Dict* resources = document->fetch({10, 0}).asDict();
    if (const auto space = ColourSpace::read(*document, object, resources)) {
        std::vector<double> colour(space->components());
        space->defaultColour(colour);
        space->toRgb(colour);
        for (const double probe : kProbes) {
            std::fill(colour.begin(), colour.end(), probe);
            const Rgb rgb = space->toRgb(colour);
            if (!(rgb.r >= 0 && rgb.r <= 1 && rgb.g >= 0 && rgb.g <= 1 && rgb.b >= 0 &&
                  rgb.b <= 1)) {
                __builtin_trap();
            }
        }
        const size_t n = space->components();
        if (n > 0) {
            std::vector<uint8_t> samples(n * 16);
            for (size_t i = 0; i < samples.size(); ++i) {
                samples[i] = uint8_t(i * 37);
            }
            std::vector<uint8_t> rgb(3 * 16);
            space->sampleConverter({}, 255)->convert(samples.data(), 16, rgb.data());
            space->sampleConverter({}, 1)->convert(samples.data(), 16, rgb.data());
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    if (data[0] % 2 == 0) {
        runProgram(data, size);
    } else {
        runObjects(data + 1, size - 1);
    }
    return 0;
}
