#pragma once

#include <QString>

// The files the people and records windows keep beside those the engine writes.
namespace RecordsFiles {
} // namespace RecordsFiles
