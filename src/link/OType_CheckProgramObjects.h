// The check-program objects of the link: each makes one exchange with the device.
#pragma once

#include <string>
#include <vector>

#include "link/LinkPayloads.h"

class OQuillonComInterface;

// The programs stored in the device: names with size, time stamp and number.
class OType_CheckProgramList {
  public:
    int iReceive(OQuillonComInterface& link);
    int iGetNum() const { return static_cast<int>(m_entries.size()); }
    const LinkPayload::OProgramEntry* opGetAt(int i) const;
    std::vector<std::string> Names() const;
    const std::vector<LinkPayload::OProgramEntry>& Entries() const { return m_entries; }

  private:
    std::vector<LinkPayload::OProgramEntry> m_entries;
};

// The device's program numbers with the program name assigned to each.
class OType_CheckProgramNrList {
  public:
    int iReceive(OQuillonComInterface& link);
    int iGetNum() const { return static_cast<int>(m_numbers.size()); }
    const LinkPayload::OProgramNumber* opGetAt(int i) const;
    // The name assigned to a number; empty when none.
    std::string GetNameOf(int number) const;
    const std::vector<LinkPayload::OProgramNumber>& Numbers() const { return m_numbers; }

  private:
    std::vector<LinkPayload::OProgramNumber> m_numbers;
};

// One stored program's information.
class OType_CheckProgramInfo {
  public:
    int iReceive(OQuillonComInterface& link, const std::string& name);
    const LinkPayload::OProgramEntry& Info() const { return m_info; }

  private:
    LinkPayload::OProgramEntry m_info;
};

// Assigns a stored program to a program number; an empty name removes the assignment.
class OType_CheckProgramAssign {
  public:
    OType_CheckProgramAssign(std::string name, int number)
        : m_name(std::move(name)), m_number(number) {}
    int iSend(OQuillonComInterface& link) const;

  private:
    std::string m_name;
    int m_number;
};

// Deletes a stored program by name.
class OType_CheckProgramDelete {
  public:
    explicit OType_CheckProgramDelete(std::string name) : m_name(std::move(name)) {}
    int iSend(OQuillonComInterface& link) const;

  private:
    std::string m_name;
};
