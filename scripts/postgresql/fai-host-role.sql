-- What the hosts' role may read of the shared database: the branch, client and service
-- lookups, the branches' processing dates and the report data, and nothing else. It reads
-- nothing of the users, their passwords or their sessions, and writes nothing: every write
-- goes through fai-appserver, which checks who asks.
--
-- Run it as the owner of the database once fai-appserver has made the tables (its first
-- start); the role fai_host itself is made by the superuser beforehand:
--   psql -h dbhost -U fai_server -d fai00400 -f fai-host-role.sql
GRANT SELECT ON FILIAL, PARAMFATUR, CLIENTE, CLIENFILIAL, SERVICO, SERVCLIEFILI, EFETFATUR,
    RELCOMENSAL TO fai_host;
