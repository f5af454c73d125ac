PRAGMA application_id = 1364284758;
