End of report (@total nodes).
