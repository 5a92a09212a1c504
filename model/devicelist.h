#pragma once
// The device list: one row of text per panel, as the main window's list
// shows it. A connection adds a short row "ip port "; the panel's network
// settings replace it with a full row "ip mask gateway port"; the "TCP/IP"
// dialog and project files add rows of their own. Rows are UTF-8, and their
// lengths count as the list counts them (UTF-16 units), so a rule reads a
// row as the list shows it.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A panel's network settings, as its answer gives them.
struct DeviceNet {
  std::string Ip, Mask, Gateway, Port;
};

class DeviceList {
 public:
  // The longest short row is "255.255.255.255 65535 ": a longer row is a full one.
  static constexpr size_t kLongestShortRow = 22;
  // The panel fields show the first row longer than this.
  static constexpr size_t kShownRowOver = 26;

  static bool IsFullRow(std::string_view row);
  static bool IsShownRow(std::string_view row);
  static std::string ShortRow(std::string_view ip, std::string_view port);
  static std::string FullRow(const DeviceNet& s);
  // The address a row begins with: its text up to the first blank.
  static std::string_view AddressOf(std::string_view row);
  // A short row's address and port; the port loses one closing blank.
  struct ShortRowParts {
    std::string Ip, Port;
  };
  static ShortRowParts SplitShortRow(std::string_view row);

  // Told of every change, so a view can mirror the rows.
  struct Change {
    enum Kind { Added, Removed, Cleared } What;
    int Row = -1;  // the row added or removed
  };
  std::function<void(const Change&)> Changed;
  // Debug-log lines of the network-settings merge.
  std::function<void(const std::string&)> Log;

  int Count() const { return static_cast<int>(rows_.size()); }
  const std::string& Row(int r) const { return rows_[static_cast<size_t>(r)]; }
  const std::vector<std::string>& Rows() const { return rows_; }

  // Rows a view holds already: taken as they stand, and nobody is told.
  void Assign(std::vector<std::string> rows);

  void Add(std::string row);
  // A project file's device record: added unless a row reads the same.
  bool AddIfAbsent(std::string row);
  // A new connection from ip:port: its short row, unless a row reads the
  // bare address (a connection's short row never does, so a panel that
  // connects again gets another row).
  bool AddConnection(const std::string& ip, unsigned port);
  void Remove(int r);
  void Clear();

  // Whether a full row names the panel at `ip`; discovery asks the others
  // for their settings.
  bool HasFullRow(std::string_view ip) const;

  // The row the panel fields show: the first shown row, else the last; -1
  // when the list is empty.
  int ShownRow() const;

  // A panel's network settings. Rows are walked until the full row:
  // each one before it is logged (the panel's short row, then the row) and,
  // when it is the panel's short row, removed. When the full row was listed
  // already, "err" is logged and nothing is added; else it is appended.
  struct NetMerge {
    bool NewDeviceRow = false;
    int Shown = -1;  // ShownRow() after the full row was appended
  };
  NetMerge MergeNetSettings(const DeviceNet& s);

 private:
  bool Lists(std::string_view text) const;
  void Tell(Change::Kind what, int row);
  void Say(const std::string& line);

  std::vector<std::string> rows_;
};
