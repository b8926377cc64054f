#pragma once

namespace s::platform::faults {

// Failure injection for tests of the callers of Files.h: the steps below can be made to fail
// with a chosen error number, as a full or broken disk would.
enum class FileStep { Read, CreateTemporary, Write, Sync, Rename, MoveAside, Lock };

// The next `times` calls of the step fail, after `skip` calls that succeed. One fault per step.
void failNext(FileStep step, int error, int skip = 0, int times = 1);
void clearAll();

// Used by the implementation: the error to fail this call of the step with, or 0.
int take(FileStep step);

}  // namespace s::platform::faults
