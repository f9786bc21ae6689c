// Generates the program's sample data: lakedrift_datagen <shoreline file> <output folder>
#include <exception>
#include <iostream>

#include "SampleDataGenerator.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: " << argv[0] << " <shoreline file> <output folder>\n";
    return 2;
  }
  try {
    const lakedrift::datagen::SampleDataGenerator generator(argv[1]);
    std::cout << generator.Generate(argv[2]);
  } catch (const std::exception& e) {
    std::cerr << argv[0] << ": " << e.what() << "\n";
    return 1;
  }
  return 0;
}
