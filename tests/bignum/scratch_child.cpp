// A process that computes with mantissas on disk, for the tests of the private folder:
//   scratch_child once SEED   prints diskWork(SEED) and ends
//   scratch_child loop        prints its private folder as soon as it has one,
//                             then computes until it is killed
#include <iostream>
#include <string>

#include "DiskWork.h"
#include "bignum/scratch.h"

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "once" && argc > 2) {
    std::cout << diskWork(static_cast<unsigned>(std::stoul(argv[2])), 40) << std::endl;
    return 0;
  }
  if (mode != "loop") return 2;
  const bignum::bigfloat kept = diskNumber(0);
  std::cout << bignum::scratchFolder() << std::endl;
  for (unsigned seed = 1;; ++seed) diskWork(seed, 5);
}
