-- The role the hosts read the shared database with: the branch, client and service lookups,
-- the branches' processing dates and the report data, read only. It reads nothing of the
-- users, their passwords or their sessions, and writes nothing: every write goes through
-- fai-appserver, which checks who asks.
--
-- Run it as the owner of the database, once fai-appserver has made the tables (its first
-- start), then give the role a password of your own:
--   psql -d fai00400 -f fai-host-role.sql
--   psql -d fai00400 -c "ALTER ROLE fai_host PASSWORD 'a senha dos hosts'"
CREATE ROLE fai_host LOGIN;
GRANT SELECT ON FILIAL, PARAMFATUR, CLIENTE, CLIENFILIAL, SERVICO, SERVCLIEFILI, EFETFATUR,
    RELCOMENSAL TO fai_host;
